// Varnock: keeps the archive list of an INI settings file.
#include "Unregistration.h"

#include "ArchiveSlotTable.h"
#include "PathHelpers.h"

namespace varnock {

bool unregisterSelected(std::string_view iniPath, const std::vector<ListEntry>& list,
                        UserPrompts& prompts) {
    if (list.empty()) {
        return false;
    }
    const ArchiveSlotTable table(pathFromUtf8(iniPath));
    const auto count = static_cast<SlotIndex>(list.size());
    for (SlotIndex i = 0; i < count; ++i) {
        if (!list[static_cast<std::size_t>(i)].selected) {
            continue;
        }
        const Status removed = table.deleteSlot(i);
        if (!removed) {
            prompts.showWarning(list[static_cast<std::size_t>(i)].name + " was not unregistered. " +
                                removed.reason());
            return true;
        }
        if (i == count - 1) {
            prompts.showMessage("Archive(s) unregistered successfully.");
        }
    }
    return true;
}

}  // namespace varnock
