// SPDX-License-Identifier: GPL-3.0-or-later
#include "Reordering.h"

#include "ListEdit.h"

namespace varnock {
namespace {

std::optional<SlotLayout> layoutFor(const std::vector<ListEntry>& list, MoveDirection direction) {
    if (list.empty()) {
        return std::nullopt;
    }
    return layoutMoved(selectedSlots(list), direction, list.back().slot);
}

}  // namespace

bool canMoveSelected(const std::vector<ListEntry>& list, MoveDirection direction) {
    return layoutFor(list, direction).has_value();
}

std::optional<std::vector<SlotIndex>> moveSelected(std::string_view iniPath,
                                                   const std::vector<ListEntry>& list,
                                                   MoveDirection direction, UserPrompts& prompts) {
    const auto layout = layoutFor(list, direction);
    if (!layout || !saveLayout(iniPath, list, *layout, "moved", prompts)) {
        return std::nullopt;
    }
    std::vector<SlotIndex> moved;
    for (const SlotIndex slot : selectedSlots(list)) {
        if (const auto to = destinationOf(slot, *layout)) {
            moved.push_back(*to);
        }
    }
    return moved;
}

}  // namespace varnock
