// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the file dialog that answers from a script and records each filter asked for.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "FileChooser.h"
#include "FileKind.h"

namespace varnock::testing {

class ScriptedFileChooser final : public FileChooser {
public:
    std::string chooseFile(const FileKind& kind) override {
        filters.push_back(kind.filterName());
        if (answers.empty()) {
            return {};
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Answers do not depend on the folder a dialog would open in.
    void openNextIn(const std::string&) override {}

    std::deque<std::string> answers;   // an empty one is a cancelled dialog
    std::vector<std::string> filters;  // each dialog's filter name, in order
};

}  // namespace varnock::testing
