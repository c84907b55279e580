// SPDX-License-Identifier: GPL-3.0-or-later
// One save of a new slot layout over the list the user acted on, shared by unregistering and
// moving entries.
#pragma once

#include <string_view>
#include <vector>

#include "ListEntry.h"
#include "SlotLayout.h"
#include "UserPrompts.h"

namespace varnock {

// The selected entries' slots, in list order.
std::vector<SlotIndex> selectedSlots(const std::vector<ListEntry>& list);

// Saves layout, only over the slots the list shows. When the save fails or the list is
// outdated, tells the user that the selected archives were not done ("unregistered",
// "moved") and why, and returns false.
bool saveLayout(std::string_view iniPath, const std::vector<ListEntry>& list,
                const SlotLayout& layout, std::string_view done, UserPrompts& prompts);

}  // namespace varnock
