// Varnock: keeps the archive list of an INI settings file.
// The [Archives] section seen as 256 numbered slots, "Archive 0" to "Archive 255", each
// naming one registered archive. Nothing is held in memory: every call goes to the file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "SettingsFile.h"
#include "Status.h"

namespace varnock {

using SlotIndex = int;
inline constexpr SlotIndex kMaxSlot = 255;
inline constexpr std::string_view kArchivesSection = "Archives";

struct ArchiveSlot {
    SlotIndex index = 0;
    std::string value;

    bool operator==(const ArchiveSlot&) const = default;
};

// "Archive " followed by n in decimal, without padding.
std::string slotKey(SlotIndex n);

class ArchiveSlotTable {
public:
    explicit ArchiveSlotTable(std::filesystem::path iniPath) : m_file(std::move(iniPath)) {}

    // Empty for an empty slot (missing key, or nothing after the "=").
    std::string readSlot(SlotIndex n) const;
    // As readSlot, but a settings file that exists and cannot be read is a failure.
    Result<std::string> readSlotChecked(SlotIndex n) const;
    Status writeSlot(SlotIndex n, std::string_view name) const;
    Status deleteSlot(SlotIndex n) const;
    // Whether writeSlot and deleteSlot could save the settings file now.
    Status checkSaveable() const { return m_file.checkSaveable(); }

    // Slots 0 up to the first empty one, in order: entry i is slot i. Slots after a gap
    // are not listed.
    std::vector<ArchiveSlot> listRegistered() const;
    // As listRegistered, but a settings file that exists and cannot be read is a failure.
    Result<std::vector<ArchiveSlot>> listRegisteredChecked() const;

private:
    SettingsFile m_file;
};

}  // namespace varnock
