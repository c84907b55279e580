// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotLayout.h"

#include <algorithm>
#include <utility>

namespace varnock {
namespace {

constexpr std::size_t kSlotCount = kMaxSlot + 1;

std::size_t at(SlotIndex n) {
    return static_cast<std::size_t>(n);
}

SlotLayout unchanged() {
    SlotLayout layout;
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        layout[at(n)] = n;
    }
    return layout;
}

}  // namespace

SlotLayout layoutWithout(const std::vector<SlotIndex>& removed) {
    SlotLayout layout;
    std::size_t next = 0;
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        if (std::find(removed.begin(), removed.end(), n) == removed.end()) {
            layout[next++] = n;
        }
    }
    return layout;  // the slots past the last one kept have no key
}

std::optional<SlotLayout> layoutMoved(const std::vector<SlotIndex>& selected,
                                      MoveDirection direction, SlotIndex lastFilled) {
    std::array<bool, kSlotCount> chosen{};
    for (const SlotIndex n : selected) {
        if (n >= 0 && n <= kMaxSlot) {
            chosen[at(n)] = true;
        }
    }
    SlotLayout layout = unchanged();
    bool moved = false;
    // Taken from the edge they move towards, so that a block of selected slots moves as one
    // and one stopped at the edge holds the ones behind it.
    const bool up = direction == MoveDirection::Up;
    const SlotIndex step = up ? -1 : 1;
    const SlotIndex edge = up ? 0 : std::min(lastFilled, kMaxSlot);
    std::array<bool, kSlotCount> stays{};
    for (SlotIndex i = 0; i <= kMaxSlot; ++i) {
        const SlotIndex n = up ? i : kMaxSlot - i;
        if (!chosen[at(n)]) {
            continue;
        }
        const SlotIndex to = n + step;
        if ((up ? n <= edge : n >= edge) || stays[at(to)]) {
            stays[at(n)] = true;
            continue;
        }
        std::swap(layout[at(n)], layout[at(to)]);
        moved = true;
    }
    return moved ? std::optional<SlotLayout>(layout) : std::nullopt;
}

std::optional<SlotIndex> destinationOf(SlotIndex from, const SlotLayout& layout) {
    const auto found = std::find(layout.begin(), layout.end(), std::optional<SlotIndex>(from));
    if (found == layout.end()) {
        return std::nullopt;
    }
    return static_cast<SlotIndex>(found - layout.begin());
}

}  // namespace varnock
