// SPDX-License-Identifier: GPL-3.0-or-later
// Prompts and a copy-progress view for the actions' tests: answers come from a script, and
// everything shown is recorded.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "CopyProgressView.h"
#include "UserPrompts.h"

namespace varnock::testing {

class ScriptedPrompts final : public UserPrompts {
public:
    void showMessage(const std::string& text) override { shown.push_back(text); }
    void showWarning(const std::string& text) override {
        shown.push_back(text);
        warned.push_back(text);
    }
    Answer askYesNo(const std::string& text, Answer defaultAnswer) override {
        shown.push_back(text);
        asked.push_back(text);
        defaults.push_back(defaultAnswer);
        if (answers.empty()) {
            return Answer::No;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<Answer> answers;
    std::vector<std::string> shown;   // messages, warnings and questions, in order
    std::vector<std::string> warned;  // warnings only
    std::vector<std::string> asked;   // questions only
    std::vector<Answer> defaults;     // each question's default answer
};

class ScriptedProgress final : public CopyProgressView {
public:
    bool copying(const CopyReport& report) override {
        last = report;
        return ++updates <= cancelAfter;
    }
    void copyEnded() override { ++ended; }

    int cancelAfter = 1 << 30;  // updates before the user presses Cancel
    int updates = 0;
    int ended = 0;
    CopyReport last;
};

}  // namespace varnock::testing
