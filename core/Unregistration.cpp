// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unregistration.h"

#include "ListEdit.h"

namespace varnock {

Unregistration unregisterSelected(std::string_view iniPath, const std::vector<ListEntry>& list,
                                  UserPrompts& prompts) {
    if (list.empty()) {
        return Unregistration::EmptyList;
    }
    const std::vector<SlotIndex> selected = selectedSlots(list);
    if (selected.empty()) {
        return Unregistration::NothingSelected;
    }
    if (!saveLayout(iniPath, list, layoutWithout(selected), "unregistered", prompts)) {
        return Unregistration::NotUnregistered;
    }
    if (list.back().selected) {
        prompts.showMessage("Archive(s) unregistered successfully.");
    }
    return Unregistration::Unregistered;
}

}  // namespace varnock
