// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveSlotTable.h"

#include <algorithm>

#include "SlotRewrite.h"
#include "ini/IniScanner.h"
#include "ini/IniText.h"
#include "text/CodePage.h"
#include "text/Utf8.h"

namespace varnock {
namespace {

constexpr std::size_t kSlotCount = kMaxSlot + 1;

// Every slot's value as a read of its key returns it: unquoted and cut as the reader cuts.
std::vector<std::string> slotValues(std::string_view text) {
    std::vector<std::string> values(kSlotCount);
    const SlotLines lines = slotLinesOf(text);
    for (std::size_t n = 0; n < kSlotCount; ++n) {
        if (const auto& line = lines.first[n]) {
            const auto raw = text.substr(line->valueBegin, line->valueEnd - line->valueBegin);
            values[n] = text::fromCodePage(ini::unquote(raw).substr(0, kValueCapacity - 1));
        }
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

// Whether the slots holding a value are exactly those shown, with the same values.
bool holdExactly(const std::vector<std::string>& values, const std::vector<ArchiveSlot>& shown) {
    std::size_t next = 0;
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        const std::string& value = values[static_cast<std::size_t>(n)];
        if (value.empty()) {
            continue;
        }
        if (next == shown.size() || shown[next].index != n || shown[next].value != value) {
            return false;
        }
        ++next;
    }
    return next == shown.size();
}

}  // namespace

std::string slotKey(SlotIndex n) {
    return "Archive " + std::to_string(n);
}

SlotSnapshot::SlotSnapshot(FileRead read)
    : m_read(std::move(read)), m_values(slotValues(m_read.text())) {}

std::vector<ArchiveSlot> SlotSnapshot::registered() const {
    std::vector<ArchiveSlot> slots;
    for (SlotIndex n = 0; n < firstEmpty(); ++n) {
        slots.push_back({n, value(n)});
    }
    return slots;
}

std::vector<ArchiveSlot> SlotSnapshot::filled() const {
    std::vector<ArchiveSlot> slots;
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        if (!value(n).empty()) {
            slots.push_back({n, value(n)});
        }
    }
    return slots;
}

SlotIndex SlotSnapshot::firstEmpty() const {
    SlotIndex n = 0;
    while (n <= kMaxSlot && !value(n).empty()) {
        ++n;
    }
    return n;
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
        // A new key goes after the one before it, where a reader of the file looks for it.
        const auto before = outcome.slot > 0 ? slotKey(outcome.slot - 1) : std::string();
        return ini::withValue(text, kArchivesSection, slotKey(outcome.slot), name.bytes, before);
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

Result<TableChange> ArchiveSlotTable::rearrange(const std::vector<ArchiveSlot>& shown,
                                                const SlotLayout& layout) const {
    TableChange outcome = TableChange::Saved;
    const auto change = [&](std::string_view text) -> std::optional<std::string> {
        if (!holdExactly(slotValues(text), shown)) {
            outcome = TableChange::ListOutdated;
            return std::nullopt;
        }
        outcome = TableChange::Saved;
        return rearrangedText(text, layout);
    };
    const Status saved = m_file.edit(change);
    if (!saved) {
        return saved;
    }
    return outcome;
}

}  // namespace varnock
