// SPDX-License-Identifier: GPL-3.0-or-later
// The list of registered archives: a list box in which several entries can be selected.
#pragma once

#include <windows.h>

#include <vector>

#include "MainWindowView.h"

namespace varnock::win32 {

void fillList(HWND list, const std::vector<ShownEntry>& entries);
std::vector<SlotIndex> selectedIn(HWND list);
// Scrolls as little as needed for the entry to be seen.
void bringIntoSight(HWND list, SlotIndex entry);
// Delete in the list posts message to the list's parent.
void postDeleteKey(HWND list, UINT message);

}  // namespace varnock::win32
