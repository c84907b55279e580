// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the file dialog that answers from a script and records each filter and
// folder asked for.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "FileChooser.h"
#include "FileKind.h"

namespace varnock::testing {

class ScriptedFileChooser final : public FileChooser {
public:
    std::string chooseFile(const FileKind& kind, const std::string& startFolder) override {
        filters.push_back(kind.filterName());
        startFolders.push_back(startFolder);
        if (answers.empty()) {
            return {};
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::string> answers;        // an empty one is a cancelled dialog
    std::vector<std::string> filters;       // each dialog's filter name, in order
    std::vector<std::string> startFolders;  // and the folder it opened in
};

}  // namespace varnock::testing
