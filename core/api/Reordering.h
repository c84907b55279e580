// SPDX-License-Identifier: GPL-3.0-or-later
// Moving the entries selected in the window's list one slot up or down: the order decides
// which archive's files the other application uses when two hold the same file.
#pragma once

#include <string_view>
#include <vector>

#include "ListEntry.h"
#include "SlotLayout.h"
#include "UserPrompts.h"

namespace varnock {

// Whether moveSelected would move anything.
bool canMoveSelected(const std::vector<ListEntry>& list, MoveDirection direction);

// Moves the selected entries one slot in direction (layoutMoved) in one save. Returns the
// slots they stand in afterwards, or nothing when nothing moved: nothing could, the save
// failed, or the file's slots are no longer those the list shows (the user is told why).
std::optional<std::vector<SlotIndex>> moveSelected(std::string_view iniPath,
                                                   const std::vector<ListEntry>& list,
                                                   MoveDirection direction, UserPrompts& prompts);

}  // namespace varnock
