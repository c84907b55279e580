// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxPrompts.h"

#include "WideText.h"
#include "WindowTitle.h"

namespace varnock::win32 {

void MessageBoxPrompts::showMessage(const std::string& text) {
    show(text, MB_OK);
}

void MessageBoxPrompts::showWarning(const std::string& text) {
    show(text, MB_OK | MB_ICONWARNING);
}

Answer MessageBoxPrompts::askYesNo(const std::string& text, Answer defaultAnswer) {
    const UINT defaultButton = defaultAnswer == Answer::No ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return show(text, MB_YESNO | defaultButton) == IDYES ? Answer::Yes : Answer::No;
}

int MessageBoxPrompts::show(const std::string& text, UINT type) {
    const ModalCount::Scope open(m_modal);
    // The window gets its focused control back through its WM_ACTIVATE handling.
    return ::MessageBoxW(m_owner, wide(text).c_str(), kWindowTitle, type | MB_APPLMODAL);
}

}  // namespace varnock::win32
