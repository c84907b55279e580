// Varnock: keeps the archive list of an INI settings file.
#include "ArchiveSlotTable.h"

namespace varnock {

std::string slotKey(SlotIndex n) {
    return "Archive " + std::to_string(n);
}

std::string ArchiveSlotTable::readSlot(SlotIndex n) const {
    return m_file.read(kArchivesSection, slotKey(n));
}

Result<std::string> ArchiveSlotTable::readSlotChecked(SlotIndex n) const {
    return m_file.readChecked(kArchivesSection, slotKey(n));
}

Status ArchiveSlotTable::writeSlot(SlotIndex n, std::string_view name) const {
    return m_file.write(kArchivesSection, slotKey(n), name);
}

Status ArchiveSlotTable::deleteSlot(SlotIndex n) const {
    return m_file.remove(kArchivesSection, slotKey(n));
}

std::vector<ArchiveSlot> ArchiveSlotTable::listRegistered() const {
    auto slots = listRegisteredChecked();
    return slots ? std::move(slots).value() : std::vector<ArchiveSlot>();
}

Result<std::vector<ArchiveSlot>> ArchiveSlotTable::listRegisteredChecked() const {
    std::vector<ArchiveSlot> slots;
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        auto value = readSlotChecked(n);
        if (!value) {
            return value.status();
        }
        if (value.value().empty()) {
            break;
        }
        slots.push_back({n, std::move(value).value()});
    }
    return slots;
}

}  // namespace varnock
