// SPDX-License-Identifier: GPL-3.0-or-later
// Rewriting the slot keys of the [Archives] section for a new slot layout, in one pass over
// the text, so that every byte outside the slots' key lines stays.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ArchiveSlotTable.h"

namespace varnock {

// The slot a key name stands for, compared as the reader compares names: "ARCHIVE 7" is slot
// 7, "Archive 07" is no slot.
std::optional<SlotIndex> slotOfKey(std::string_view name);

// The text with each slot n holding the value bytes of slot layout[n] as they stand, or no
// key. A slot that keeps a key keeps its line, with new value bytes; a slot that gets a key
// takes over a line that its slot gives up (its source's, where it can), so that each key
// stays where a reader of the file expects it. Lines a slot gives up and the unread second
// lines of every changed slot go. Nothing when that changes nothing.
std::optional<std::string> rearrangedText(std::string_view text, const SlotLayout& layout);

}  // namespace varnock
