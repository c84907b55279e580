// SPDX-License-Identifier: GPL-3.0-or-later
// The keys that act on the list's selection: Delete unregisters it, Alt+Up and Alt+Down move
// it one slot.
#pragma once

#include <windows.h>

namespace varnock::win32 {

// Each of these keys in list posts message to the list's parent, with the ListCommand
// (MainWindowView.h) as its wParam.
void postListKeys(HWND list, UINT message);

}  // namespace varnock::win32
