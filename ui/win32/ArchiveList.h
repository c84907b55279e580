// SPDX-License-Identifier: GPL-3.0-or-later
// The list of registered archives: an owner-drawn list box in which several entries can be
// selected; each entry's item data carries its marks (EntryMarks.h).
#pragma once

#include <windows.h>

#include <vector>

#include "MainWindowView.h"

namespace varnock::win32 {

// Each entry's text is its slot's value; a missing one is marked and described.
void fillList(HWND list, const std::vector<ShownEntry>& entries);
// Takes back the entries' descriptions, before the list is refilled or destroyed.
void forgetDescriptions(HWND list);
std::vector<SlotIndex> selectedIn(HWND list);
// Scrolls as little as needed for the entry to be seen.
void bringIntoSight(HWND list, SlotIndex entry);
// Delete in the list posts message to the list's parent.
void postDeleteKey(HWND list, UINT message);

}  // namespace varnock::win32
