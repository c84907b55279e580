// SPDX-License-Identifier: GPL-3.0-or-later
// Unregistering the archives selected in the window's list by deleting their slots.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "UserPrompts.h"

namespace varnock {

// One entry of the window's list; entry i shows slot i.
struct ListEntry {
    std::string name;
    bool selected = false;
};

// Deletes the slots of the selected entries in one save, without renumbering the others, and
// confirms when the last entry was among them. Deletes nothing, and tells the user why, when
// the save fails or a selected slot no longer holds the name the list shows (another program
// changed the file). Returns whether the list should be refilled: always, unless it was empty.
bool unregisterSelected(std::string_view iniPath, const std::vector<ListEntry>& list,
                        UserPrompts& prompts);

}  // namespace varnock
