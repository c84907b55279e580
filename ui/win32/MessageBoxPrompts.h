// SPDX-License-Identifier: GPL-3.0-or-later
// The prompts as the system's message boxes, titled "Varnock" and owned by the window.
#pragma once

#include <windows.h>

#include "ModalCount.h"
#include "UserPrompts.h"

namespace varnock::win32 {

class MessageBoxPrompts final : public UserPrompts {
public:
    MessageBoxPrompts(HWND owner, ModalCount& modal) : m_owner(owner), m_modal(modal) {}

    void showMessage(const std::string& text) override;
    void showWarning(const std::string& text) override;
    Answer askYesNo(const std::string& text, Answer defaultAnswer) override;

private:
    int show(const std::string& text, UINT type);

    HWND m_owner;
    ModalCount& m_modal;
};

}  // namespace varnock::win32
