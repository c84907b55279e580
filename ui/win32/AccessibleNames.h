// SPDX-License-Identifier: GPL-3.0-or-later
// Names for screen readers where a control's text is not its name: the path labels show a
// path, the list shows no text of its own; and why a list entry is marked.
#pragma once

#include <windows.h>

namespace varnock::win32 {

// Gives control the name that MSAA's accName reports; COM is initialised on this thread.
void nameForScreenReaders(HWND control, const wchar_t* name);
// Removes the names given, before control is destroyed.
void forgetScreenReaderName(HWND control);
// Gives the child of control (1 for a list's first entry) the description that MSAA's
// accDescription reports, or takes it back for a null description.
void describeForScreenReaders(HWND control, DWORD child, const wchar_t* description);

}  // namespace varnock::win32
