// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls as the design has them (WindowLayout.h): made, known by their
// identifiers, and placed for the room the window has.
#pragma once

#include <windows.h>

#include <array>

#include "WindowLayout.h"

namespace varnock::win32 {

using ControlHandles = std::array<HWND, kControls.size()>;

// Identifiers start above IDOK and IDCANCEL, which the dialog manager sends for Enter and
// Escape when no button is focused.
inline constexpr int kFirstControlId = 100;

std::size_t indexOf(Control which);  // in kControls and in ControlHandles
int idOf(Control which);
bool isButton(Control which);

// The control of design, a child of parent, unplaced.
HWND createControl(HWND parent, const ControlDesign& design);
// Each control where it stands in a client area of client pixels at dpi.
void placeControls(const ControlHandles& controls, UINT dpi, SIZE client);

}  // namespace varnock::win32
