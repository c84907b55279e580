// SPDX-License-Identifier: GPL-3.0-or-later
// Files dropped on the window from a file manager, as WM_DROPFILES hands them.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace varnock::win32 {

// The dropped files' paths (UTF-8); the drop's handle is released.
std::vector<std::string> takeDroppedPaths(HDROP drop);

}  // namespace varnock::win32
