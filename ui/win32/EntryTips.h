// SPDX-License-Identifier: GPL-3.0-or-later
// The tooltip over the list: on a marked entry it tells why the entry is marked.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace varnock::win32 {

// Gives list its tooltip, which lives as long as the list.
void addEntryTips(HWND list);
// The notes the tooltip shows, one for each entry in the list's order; an empty one shows no
// tip. Each line of a note is a line of the tip.
void setEntryNotes(HWND list, std::vector<std::wstring> notes);

}  // namespace varnock::win32
