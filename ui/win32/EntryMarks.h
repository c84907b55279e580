// SPDX-License-Identifier: GPL-3.0-or-later
// What each entry of the list carries beside its text, as the list box's item data: read by
// the drawing and, from outside the program, by whoever reads the list back.
#pragma once

#include <windows.h>

namespace varnock::win32 {

inline constexpr LPARAM kEntryMissing = 1;   // no such file in the "Data Files" folder
inline constexpr LPARAM kEntryIndented = 2;  // another entry is missing: room kept for the mark

inline constexpr const wchar_t* kNotFoundText = L"Not found in the \"Data Files\" folder";

}  // namespace varnock::win32
