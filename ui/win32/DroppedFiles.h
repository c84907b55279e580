// SPDX-License-Identifier: GPL-3.0-or-later
// Files dropped on the window from a file manager, as a drop's handle lists them.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace varnock::win32 {

// The dropped files' paths (UTF-8).
std::vector<std::string> droppedPaths(HDROP drop);
// The same, and the drop's handle is released.
std::vector<std::string> takeDroppedPaths(HDROP drop);

}  // namespace varnock::win32
