// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's frame: the class it is made of, its styles, and the size it opens at and
// may not be made smaller than, the design's client area at the window's DPI with the frame
// around it.
#pragma once

#include <windows.h>

namespace varnock::win32 {

inline constexpr wchar_t kMainWindowClass[] = L"VarnockMainWindow";
// Sizable and maximizable: the list takes the room the window is given.
inline constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW;
inline constexpr DWORD kMainWindowExStyle = WS_EX_CONTROLPARENT;

void registerMainWindowClass(HINSTANCE instance, WNDPROC procedure);
// The window's outer size for the design's client area at dpi.
SIZE designedFrameSize(UINT dpi);
// Keeps the window at least at designedFrameSize whatever resizes it.
void keepDesignedMinimum(MINMAXINFO& limits, UINT dpi);
// Whether place asks for a frame smaller than designedFrameSize, which the system then raises to
// it: under Wine the window manager's frame keeps the smaller size it was dragged to, and must
// be given the window's size again.
bool belowDesignedMinimum(const WINDOWPOS& place, UINT dpi);

}  // namespace varnock::win32
