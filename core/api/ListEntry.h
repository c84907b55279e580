// SPDX-License-Identifier: GPL-3.0-or-later
// One entry of the window's list: a slot that holds a value, and whether the user selected it.
#pragma once

#include <string>

#include "ArchiveSlotTable.h"

namespace varnock {

struct ListEntry {
    SlotIndex slot = 0;
    std::string name;  // the slot's value
    bool selected = false;

    bool operator==(const ListEntry&) const = default;
};

}  // namespace varnock
