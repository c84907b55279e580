// SPDX-License-Identifier: GPL-3.0-or-later
// What the window session asks of a window: show what it decided, and lend it the window's
// prompts, progress view and file dialog. Each front end implements it with its toolkit.
#pragma once

#include <string>
#include <vector>

#include "ArchiveSlotTable.h"

namespace varnock {

class CopyProgressView;
class FileChooser;
class UserPrompts;

// One entry of the list as the window shows it; entry i shows slot i.
struct ShownEntry {
    std::string name;
    bool selected = false;
    bool missing = false;  // no such file in the "Data Files" folder

    bool operator==(const ShownEntry&) const = default;
};

class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    virtual void showArchivePath(const std::string& path) = 0;
    virtual void showIniPath(const std::string& path) = 0;
    // Replaces the list's entries, each selected or not as given.
    virtual void showList(const std::vector<ShownEntry>& entries) = 0;
    // The entries the user has selected, in ascending order.
    virtual std::vector<SlotIndex> selectedEntries() const = 0;
    // Brings the entry into sight without selecting it.
    virtual void scrollToEntry(SlotIndex slot) = 0;
    // Tells the session, through followSettingsFile, when the file at path may have changed
    // (nothing for an empty path); a call replaces the former watch.
    virtual void watchSettingsFile(const std::string& path) = 0;
    // Whether a dialog or message box is open over the window.
    virtual bool modalDialogOpen() const = 0;

    virtual UserPrompts& prompts() = 0;
    virtual CopyProgressView& copyProgress() = 0;
    virtual FileChooser& fileChooser() = 0;
};

}  // namespace varnock
