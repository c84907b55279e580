// SPDX-License-Identifier: GPL-3.0-or-later
// Names for screen readers where a control's text is not its name: the path labels show a
// path, the list shows no text of its own.
#pragma once

#include <windows.h>

namespace varnock::win32 {

// Gives control the name that MSAA's accName reports; COM is initialised on this thread.
void nameForScreenReaders(HWND control, const wchar_t* name);
// Removes the names given, before control is destroyed.
void forgetScreenReaderName(HWND control);

}  // namespace varnock::win32
