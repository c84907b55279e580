// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveSlotTable.h"

#include <algorithm>

#include "ini/IniScanner.h"
#include "ini/IniText.h"
#include "text/CodePage.h"
#include "text/Utf8.h"

namespace varnock {
namespace {

constexpr std::size_t kSlotCount = kMaxSlot + 1;

// The slot a key name stands for, compared as the reader compares names: "ARCHIVE 7" is slot
// 7, "Archive 07" is no slot.
std::optional<SlotIndex> slotOfKey(std::string_view name) {
    constexpr std::string_view prefix = "archive ";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 3 ||
        !ini::equalsIgnoringCase(name.substr(0, prefix.size()), prefix)) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(prefix.size());
    if (digits.size() > 1 && digits.front() == '0') {
        return std::nullopt;
    }
    SlotIndex n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        n = n * 10 + (c - '0');
    }
    return n <= kMaxSlot ? std::optional<SlotIndex>(n) : std::nullopt;
}

// Every slot's value as a read of its key returns it, from one pass over the section: the
// first line of a key wins, and values are cut as the reader cuts them.
std::vector<std::string> slotValues(std::string_view text) {
    std::vector<std::string> values(kSlotCount);
    const auto header = ini::findSection(text, kArchivesSection);
    if (!header) {
        return values;
    }
    std::vector<bool> seen(kSlotCount);
    ini::KeyLines lines(text, *header);
    while (const auto line = lines.next()) {
        const auto n = slotOfKey(line->name);
        if (!n || seen[static_cast<std::size_t>(*n)]) {
            continue;
        }
        seen[static_cast<std::size_t>(*n)] = true;
        const auto raw =
            ini::unquote(text.substr(line->valueBegin, line->valueEnd - line->valueBegin));
        values[static_cast<std::size_t>(*n)] =
            text::fromCodePage(raw.substr(0, kValueCapacity - 1));
    }
    return values;
}

FreeSlot freeSlotIn(const std::vector<std::string>& values, std::string_view name) {
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        const std::string& value = values[static_cast<std::size_t>(n)];
        if (value == name) {
            return {FreeSlot::Kind::AlreadyRegistered, n};
        }
        if (text::characterCount(value) <= kFreeSlotMaxLength) {
            return {FreeSlot::Kind::Found, n};
        }
    }
    return {FreeSlot::Kind::Full, 0};
}

bool holdIn(const std::vector<std::string>& values, const std::vector<ArchiveSlot>& slots) {
    return std::all_of(slots.begin(), slots.end(), [&](const ArchiveSlot& slot) {
        return slot.index >= 0 && slot.index <= kMaxSlot &&
               values[static_cast<std::size_t>(slot.index)] == slot.value;
    });
}

}  // namespace

std::string slotKey(SlotIndex n) {
    return "Archive " + std::to_string(n);
}

SlotSnapshot::SlotSnapshot(FileRead read)
    : m_read(std::move(read)), m_values(slotValues(m_read.text())) {}

std::vector<ArchiveSlot> SlotSnapshot::registered() const {
    std::vector<ArchiveSlot> slots;
    for (SlotIndex n = 0; n <= kMaxSlot && !value(n).empty(); ++n) {
        slots.push_back({n, value(n)});
    }
    return slots;
}

FreeSlot SlotSnapshot::findFreeSlot(std::string_view name) const {
    return freeSlotIn(m_values, name);
}

Result<SlotSnapshot> ArchiveSlotTable::snapshot() const {
    auto read = m_file.snapshot();
    if (!read) {
        return read.status();
    }
    return SlotSnapshot(std::move(read).value());
}

std::string ArchiveSlotTable::readSlot(SlotIndex n) const {
    return m_file.read(kArchivesSection, slotKey(n));
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
    const auto taken = snapshot();
    if (!taken) {
        return taken.status();
    }
    return taken.value().registered();
}

Result<FreeSlot> ArchiveSlotTable::registerName(const StorableValue& name,
                                                std::optional<SlotSnapshot> decided) const {
    FreeSlot outcome;
    const auto write = [&](std::string_view text) -> std::optional<std::string> {
        outcome = freeSlotIn(slotValues(text), name.text);
        if (outcome.kind != FreeSlot::Kind::Found) {
            return std::nullopt;
        }
        return ini::withValue(text, kArchivesSection, slotKey(outcome.slot), name.bytes);
    };
    std::optional<FileRead> start;
    if (decided) {
        start = std::move(*decided).takeRead();
    }
    const Status saved = m_file.edit(write, std::move(start));
    if (!saved) {
        return saved;
    }
    return outcome;
}

Result<Removal> ArchiveSlotTable::deleteSlots(const std::vector<ArchiveSlot>& shown) const {
    Removal outcome = Removal::Removed;
    const auto remove = [&](std::string_view text) -> std::optional<std::string> {
        if (!holdIn(slotValues(text), shown)) {
            outcome = Removal::ListOutdated;
            return std::nullopt;
        }
        outcome = Removal::Removed;
        return ini::withoutKeys(text, kArchivesSection, [&](std::string_view name) {
            const auto n = slotOfKey(name);
            return n && std::any_of(shown.begin(), shown.end(),
                                    [&](const ArchiveSlot& slot) { return slot.index == *n; });
        });
    };
    const Status saved = m_file.edit(remove);
    if (!saved) {
        return saved;
    }
    return outcome;
}

}  // namespace varnock
