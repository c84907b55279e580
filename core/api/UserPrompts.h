// SPDX-License-Identifier: GPL-3.0-or-later
// The modal prompts through which the actions speak to the user; the window provides them.
#pragma once

#include <string>

#include "Status.h"

namespace varnock {

enum class Answer { Yes, No };

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // Shows text with an OK button and returns when the user has closed it.
    virtual void showMessage(const std::string& text) = 0;
    // As showMessage, for Varnock's own reports of a failure: marked as a warning, so that it
    // cannot be taken for a confirmation.
    virtual void showWarning(const std::string& text) = 0;
    // As showWarning, for a failure to change the settings file; why is the failure itself, so
    // that prompts that know the file's place can add the way on that its cause calls for.
    virtual void showFailure(const std::string& text, const Status& why) {
        static_cast<void>(why);
        showWarning(text);
    }
    // Shows text with Yes and No buttons; Enter presses defaultAnswer's button.
    virtual Answer askYesNo(const std::string& text, Answer defaultAnswer) = 0;
};

}  // namespace varnock
