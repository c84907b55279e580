// SPDX-License-Identifier: GPL-3.0-or-later
// The tooltip over the list: on a missing archive's entry it tells why the entry is marked.
#pragma once

#include <windows.h>

namespace varnock::win32 {

// Gives list its tooltip, which lives as long as the list.
void addEntryTips(HWND list);

}  // namespace varnock::win32
