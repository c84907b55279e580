// SPDX-License-Identifier: GPL-3.0-or-later
// A window for the session's tests: it records what the session shows and lets a test select
// entries and open or close a dialog, as a user would.
#pragma once

#include <string>
#include <vector>

#include "MainWindowView.h"
#include "ScriptedFileChooser.h"
#include "ScriptedPrompts.h"

namespace varnock::testing {

class ScriptedWindowView final : public MainWindowView {
public:
    void showArchivePath(const std::string& path) override { archiveLabel = path; }
    void showIniPath(const std::string& path) override { iniLabel = path; }
    void showList(const std::vector<ShownEntry>& entries) override {
        list = entries;
        ++listsShown;
    }
    std::vector<int> selectedEntries() const override {
        std::vector<int> selected;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].selected) {
                selected.push_back(static_cast<int>(i));
            }
        }
        return selected;
    }
    void scrollToEntry(int position) override { scrolledTo.push_back(position); }
    void setCurrentEntry(int position) override { current = position; }
    void watchSettingsFile(const std::string& path) override { watched = path; }
    bool modalDialogOpen() const override { return dialogOpen; }
    UserPrompts& prompts() override { return *currentPrompts; }
    CopyProgressView& copyProgress() override { return progress; }
    FileChooser& fileChooser() override { return *currentChooser; }

    void select(std::initializer_list<int> entries) {
        for (const int i : entries) {
            list.at(static_cast<std::size_t>(i)).selected = true;
        }
    }
    std::vector<std::string> names() const {
        std::vector<std::string> shown;
        for (const ShownEntry& entry : list) {
            shown.push_back(entry.name);
        }
        return shown;
    }

    std::string archiveLabel;
    std::string iniLabel;
    std::vector<ShownEntry> list;
    int listsShown = 0;
    std::vector<int> scrolledTo;
    int current = -1;
    std::string watched;
    bool dialogOpen = false;
    ScriptedPrompts scripted;
    UserPrompts* currentPrompts = &scripted;
    ScriptedProgress progress;
    ScriptedFileChooser chooser;
    FileChooser* currentChooser = &chooser;
};

}  // namespace varnock::testing
