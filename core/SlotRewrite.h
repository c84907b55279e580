// SPDX-License-Identifier: GPL-3.0-or-later
// Rewriting the slot keys of the [Archives] section for a new slot layout, in one pass over
// the text, so that every byte outside the slots' key lines stays.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <array>
#include <utility>
#include <vector>

#include "ArchiveSlotTable.h"
#include "ini/IniScanner.h"

namespace varnock {

// The slot a key name stands for, compared as the reader compares names: "ARCHIVE 7" is slot
// 7, "Archive 07" is no slot.
std::optional<SlotIndex> slotOfKey(std::string_view name);

// The first key line of each slot in the [Archives] section (the one the reader takes), and
// the lines after it that name the same slot, which the reader never reaches.
struct SlotLines {
    std::array<std::optional<ini::KeyLine>, kMaxSlot + 1> first;
    std::vector<std::pair<SlotIndex, ini::Line>> later;
};
SlotLines slotLinesOf(std::string_view text);

// The text with each slot n holding the value bytes of slot layout[n] as they stand, or no
// key. Only the lines of slots that change are rewritten, keeping the order of their keys:
// the first line of each, in the file's order, goes to the next slot that then holds a value;
// lines left over and the unread second lines of changed slots go. Nothing when that changes
// nothing.
std::optional<std::string> rearrangedText(std::string_view text, const SlotLayout& layout);

}  // namespace varnock
