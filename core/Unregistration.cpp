// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unregistration.h"

#include "ListEdit.h"

namespace varnock {

bool unregisterSelected(std::string_view iniPath, const std::vector<ListEntry>& list,
                        UserPrompts& prompts) {
    if (list.empty()) {
        return false;
    }
    const std::vector<SlotIndex> selected = selectedSlots(list);
    if (selected.empty()) {
        return true;
    }
    if (saveLayout(iniPath, list, layoutWithout(selected), "unregistered", prompts) &&
        list.back().selected) {
        prompts.showMessage("Archive(s) unregistered successfully.");
    }
    return true;
}

}  // namespace varnock
