// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unregistration.h"

#include "ArchiveSlotTable.h"
#include "PathHelpers.h"

namespace varnock {
namespace {

constexpr std::string_view kListOutdated =
    "The settings file was changed by another program since the list was filled, so nothing "
    "was unregistered. The list now shows the file as it is.";

std::string whatFailed(const std::vector<ArchiveSlot>& selected) {
    if (selected.size() == 1) {
        return selected.front().value + " was not unregistered. ";
    }
    return "The " + std::to_string(selected.size()) + " selected archives were not unregistered. ";
}

}  // namespace

bool unregisterSelected(std::string_view iniPath, const std::vector<ListEntry>& list,
                        UserPrompts& prompts) {
    if (list.empty()) {
        return false;
    }
    std::vector<ArchiveSlot> selected;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].selected) {
            selected.push_back({static_cast<SlotIndex>(i), list[i].name});
        }
    }
    if (selected.empty()) {
        return true;
    }
    const auto removed = ArchiveSlotTable(pathFromUtf8(iniPath)).deleteSlots(selected);
    if (!removed) {
        prompts.showFailure(whatFailed(selected) + removed.reason(), removed.status());
    } else if (removed.value() == Removal::ListOutdated) {
        prompts.showWarning(std::string(kListOutdated));
    } else if (list.back().selected) {
        prompts.showMessage("Archive(s) unregistered successfully.");
    }
    return true;
}

}  // namespace varnock
