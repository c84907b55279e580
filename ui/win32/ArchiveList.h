// SPDX-License-Identifier: GPL-3.0-or-later
// The list of registered archives: an owner-drawn list box in which several entries can be
// selected; each entry's item data carries its marks (EntryItemData.h). Entries are named by
// their position in the list, which is not their slot behind an empty one.
#pragma once

#include <windows.h>

#include <vector>

#include "MainWindowView.h"

namespace varnock::win32 {

// Each entry's text is its slot's value; a marked one carries its icon and is described by
// its note, to screen readers and in the tooltip.
void fillList(HWND list, const std::vector<ShownEntry>& entries);
// Takes back the entries' descriptions, before the list is refilled or destroyed.
void forgetDescriptions(HWND list);
std::vector<int> selectedIn(HWND list);
// Scrolls as little as needed for the entry to be seen.
void bringIntoSight(HWND list, int position);
// The entry the arrow keys go on from, its selection unchanged.
void makeCurrent(HWND list, int position);
// A right click at point (in the list's client area) on an entry that is not selected selects
// it alone, as a file manager does; on a selected entry the selection stays.
void selectForMenuAt(HWND list, POINT point);

}  // namespace varnock::win32
