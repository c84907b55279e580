// SPDX-License-Identifier: GPL-3.0-or-later
// Reads an open popup menu of another process through a hook in that process
// (MenuReader.cpp), which the probe carries as a resource and writes out to load.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace varnock::probe {

struct MenuItem {
    std::wstring caption;
    bool enabled = false;
    bool highlighted = false;
};

// The items of the menu whose window is menuWindow; none if they cannot be read.
std::vector<MenuItem> popupMenuItems(HWND menuWindow);
// Takes the hook out and removes its module file, before the probe ends.
void stopReadingMenus();

}  // namespace varnock::probe
