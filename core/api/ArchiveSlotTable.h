// SPDX-License-Identifier: GPL-3.0-or-later
// The [Archives] section seen as 256 numbered slots, "Archive 0" to "Archive 255", each
// naming one registered archive; every rule about slots lives here. Nothing is kept between
// calls: each one reads the file once, as it is then, and a change is saved only over the
// very bytes it was decided on.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileRead.h"
#include "SettingsFile.h"
#include "Status.h"

namespace varnock {

using SlotIndex = int;
inline constexpr SlotIndex kMaxSlot = 255;
inline constexpr std::string_view kArchivesSection = "Archives";
// A slot whose value has this many characters or fewer is free for a registration.
inline constexpr std::size_t kFreeSlotMaxLength = 4;

struct ArchiveSlot {
    SlotIndex index = 0;
    std::string value;

    bool operator==(const ArchiveSlot&) const = default;
};

struct FreeSlot {
    enum class Kind { Found, AlreadyRegistered, Full };
    Kind kind = Kind::Full;
    SlotIndex slot = 0;  // for Found
};

// "Archive " followed by n in decimal, without padding.
std::string slotKey(SlotIndex n);

// The slots as one read of the settings file found them.
class SlotSnapshot {
public:
    explicit SlotSnapshot(FileRead read);

    // Empty for an empty slot (missing key, or nothing after the "=").
    const std::string& value(SlotIndex n) const { return m_values[static_cast<std::size_t>(n)]; }
    // Slots 0 up to the first empty one, in order: what the other application loads, which
    // stops reading at the first empty slot.
    std::vector<ArchiveSlot> registered() const;
    // Every slot that holds a value, in order, those behind an empty slot too.
    std::vector<ArchiveSlot> filled() const;
    // The first empty slot, where the other application stops reading; kMaxSlot + 1 when
    // every slot holds a value.
    SlotIndex firstEmpty() const;
    // Slots 0 to kMaxSlot in order: a slot holding name (exactly) ends the scan as
    // AlreadyRegistered, a free slot as Found. Slots after the first free one are not compared.
    FreeSlot findFreeSlot(std::string_view name) const;

    // The read itself, for a save that must go only over it.
    FileRead takeRead() && { return std::move(m_read); }

private:
    FileRead m_read;
    std::vector<std::string> m_values;
};

enum class TableChange { Saved, ListOutdated };

using SlotLayout = std::array<std::optional<SlotIndex>, kMaxSlot + 1>;

class ArchiveSlotTable {
public:
    explicit ArchiveSlotTable(std::filesystem::path iniPath) : m_file(std::move(iniPath)) {}

    // One read of the file as it is now. Fails only when the file exists and cannot be read,
    // or keeps changing.
    Result<SlotSnapshot> snapshot() const;

    // Single slots, each with a read or a save of its own.
    std::string readSlot(SlotIndex n) const;
    Status writeSlot(SlotIndex n, std::string_view name) const;
    Status deleteSlot(SlotIndex n) const;
    // Whether a change could save the settings file now.
    Status checkSaveable() const { return m_file.checkSaveable(); }

    // The registered archives (SlotSnapshot::registered) from one read; empty when the file
    // cannot be read.
    std::vector<ArchiveSlot> listRegistered() const;
    // As listRegistered, but a settings file that cannot be read is a failure.
    Result<std::vector<ArchiveSlot>> listRegisteredChecked() const;

    // Writes name into the first free slot of the file as it is when it is saved, unless it
    // is already registered there or every slot is taken (the result says which). decided,
    // when given, is the snapshot the caller decided on: if the file is still as it was read
    // then, no second read is made.
    Result<FreeSlot> registerName(const StorableValue& name,
                                  std::optional<SlotSnapshot> decided = {}) const;
    // Gives each slot n the value slot layout[n] held (its key line's value bytes as they
    // stand) or no key, in one save, and only if the slots that hold a value are still exactly
    // those of shown; otherwise nothing changes and the result is ListOutdated.
    Result<TableChange> rearrange(const std::vector<ArchiveSlot>& shown,
                                  const SlotLayout& layout) const;

private:
    SettingsFile m_file;
};

}  // namespace varnock
