// SPDX-License-Identifier: GPL-3.0-or-later
// The list's context menu: where it opens, and the command chosen from it.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "MainWindowView.h"

namespace varnock::win32 {

// Whether a WM_CONTEXTMENU at (its lParam) came from the keyboard: Shift+F10 or the menu key.
bool fromKeyboard(LPARAM at);
// Where the menu asked for by a WM_CONTEXTMENU at (screen coordinates, or -1, -1 from the
// keyboard) opens: at the pointer, or at the list's current entry for a key. Nothing for a
// click outside the list's client area, as on its scroll bar.
std::optional<POINT> menuPlace(HWND list, LPARAM at);
// Shows items at place (screen coordinates), the disabled ones greyed, and returns the
// command of the one chosen.
std::optional<ListCommand> chooseFromMenu(HWND owner, POINT place,
                                          const std::vector<ListMenuItem>& items);

}  // namespace varnock::win32
