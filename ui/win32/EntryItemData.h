// SPDX-License-Identifier: GPL-3.0-or-later
// What each entry of the list carries beside its text, as the list box's item data: read by
// the drawing and, from outside the program, by whoever reads the list back.
#pragma once

#include <windows.h>

namespace varnock::win32 {

// The icon before the name, in the two lowest bits.
inline constexpr LPARAM kEntryIconMask = 3;
inline constexpr LPARAM kEntryNoIcon = 0;
inline constexpr LPARAM kEntryNotLoadedIcon = 1;        // behind an empty slot
inline constexpr LPARAM kEntryMissingIcon = 2;          // not in the "Data Files" folder
inline constexpr LPARAM kEntryRegisteredTwiceIcon = 3;  // an earlier entry names the same file

inline constexpr LPARAM kEntryDimmed = 4;  // the other application will not load it
inline constexpr LPARAM kEntryNoted = 8;   // has a note: a tooltip and a description

}  // namespace varnock::win32
