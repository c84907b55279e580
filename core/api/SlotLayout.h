// SPDX-License-Identifier: GPL-3.0-or-later
// Where each slot's value goes when entries are unregistered or moved. The other application
// stops reading at the first empty slot, so these rules never leave a loaded archive behind a
// new gap.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "ArchiveSlotTable.h"

namespace varnock {

// A SlotLayout (ArchiveSlotTable.h) says, for each slot n, the slot whose key value slot n
// holds afterwards; nothing for a slot left without a key.

// The removed slots go, and every later slot (an empty one too) moves down by the number of
// removed slots before it, keeping its order.
SlotLayout layoutWithout(const std::vector<SlotIndex>& removed);

enum class MoveDirection { Up, Down };

// Each selected slot changes places with its neighbour in direction, which may be empty: an
// entry moved up into an empty slot fills it. A selected slot at the edge stays, and so does
// a selected one whose neighbour is a selected slot that stays; nothing moves below the last
// slot that holds a value. Nothing when no selected slot can move. lastFilled is the highest
// slot holding a value.
std::optional<SlotLayout> layoutMoved(const std::vector<SlotIndex>& selected,
                                      MoveDirection direction, SlotIndex lastFilled);

// Where the value of slot from stands under layout; nothing when it is dropped.
std::optional<SlotIndex> destinationOf(SlotIndex from, const SlotLayout& layout);

}  // namespace varnock
