// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListEdit.h"

#include <string>

#include "PathHelpers.h"

namespace varnock {

std::vector<SlotIndex> selectedSlots(const std::vector<ListEntry>& list) {
    std::vector<SlotIndex> slots;
    for (const ListEntry& entry : list) {
        if (entry.selected) {
            slots.push_back(entry.slot);
        }
    }
    return slots;
}

bool saveLayout(std::string_view iniPath, const std::vector<ListEntry>& list,
                const SlotLayout& layout, std::string_view done, UserPrompts& prompts) {
    std::vector<ArchiveSlot> shown;
    std::vector<std::string> selected;
    for (const ListEntry& entry : list) {
        shown.push_back({entry.slot, entry.name});
        if (entry.selected) {
            selected.push_back(entry.name);
        }
    }
    const auto saved = ArchiveSlotTable(pathFromUtf8(iniPath)).rearrange(shown, layout);
    if (saved && saved.value() == TableChange::Saved) {
        return true;
    }
    if (!saved) {
        const std::string what =
            selected.size() == 1 ? selected.front() + " was not " + std::string(done) + ". "
                                 : "The " + std::to_string(selected.size()) +
                                       " selected archives were not " + std::string(done) + ". ";
        prompts.showFailure(what + saved.reason(), saved.status());
    } else {
        prompts.showWarning(
            "The settings file was changed by another program since the list was filled, so "
            "nothing was " +
            std::string(done) + ". The list now shows the file as it is.");
    }
    return false;
}

}  // namespace varnock
