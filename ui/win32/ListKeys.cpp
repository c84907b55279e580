// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListKeys.h"

#include <commctrl.h>

#include <optional>

#include "MainWindowView.h"

namespace varnock::win32 {
namespace {

constexpr UINT_PTR kListKeysSubclass = 1;

bool altDown(LPARAM keyData) {
    return (HIWORD(keyData) & KF_ALTDOWN) != 0;
}

std::optional<ListCommand> commandFor(UINT message, WPARAM key, LPARAM keyData) {
    if (message == WM_KEYDOWN && key == VK_DELETE) {
        return ListCommand::Unregister;
    }
    // With Alt held the arrows come as system keys.
    if (message == WM_SYSKEYDOWN && altDown(keyData)) {
        if (key == VK_UP) {
            return ListCommand::MoveUp;
        }
        if (key == VK_DOWN) {
            return ListCommand::MoveDown;
        }
    }
    return std::nullopt;
}

LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR postedMessage) {
    if (const auto command = commandFor(message, wParam, lParam)) {
        ::PostMessageW(::GetParent(list), static_cast<UINT>(postedMessage),
                       static_cast<WPARAM>(*command), 0);
        if (message == WM_KEYDOWN) {
            return 0;
        }
        // Alt with an arrow goes on to the system, which tells Alt pressed alone (that opens
        // the window menu) from Alt held for another key.
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(list, listProc, kListKeysSubclass);
    }
    return ::DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void postListKeys(HWND list, UINT message) {
    ::SetWindowSubclass(list, listProc, kListKeysSubclass, message);
}

}  // namespace varnock::win32
