// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotRewrite.h"

#include <algorithm>
#include <array>
#include <vector>

#include "ini/IniScanner.h"

namespace varnock {
namespace {

constexpr std::size_t kSlotCount = kMaxSlot + 1;

std::size_t at(SlotIndex n) {
    return static_cast<std::size_t>(n);
}

// Bytes [begin, end) of the text replaced by insert.
struct Splice {
    std::size_t begin;
    std::size_t end;
    std::string insert;
};

// The first key line of each slot, and the lines after it that name the same slot (which
// the reader never reaches).
struct SlotLines {
    std::array<std::optional<ini::KeyLine>, kSlotCount> first;
    std::vector<std::pair<SlotIndex, ini::Line>> later;
};

SlotLines slotLinesOf(std::string_view text) {
    SlotLines lines;
    const auto header = ini::findSection(text, kArchivesSection);
    if (!header) {
        return lines;
    }
    ini::KeyLines keys(text, *header);
    while (const auto line = keys.next()) {
        if (const auto n = slotOfKey(line->name)) {
            if (lines.first[at(*n)]) {
                lines.later.emplace_back(*n, line->line);
            } else {
                lines.first[at(*n)] = line;
            }
        }
    }
    return lines;
}

}  // namespace

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

std::optional<std::string> rearrangedText(std::string_view text, const SlotLayout& layout) {
    const SlotLines lines = slotLinesOf(text);
    const auto has = [&](const std::optional<SlotIndex>& n) { return n && lines.first[at(*n)]; };
    const auto valueOf = [&](SlotIndex n) {
        const ini::KeyLine& line = *lines.first[at(n)];
        return text.substr(line.valueBegin, line.valueEnd - line.valueBegin);
    };
    std::vector<Splice> splices;
    std::array<bool, kSlotCount> changed{};
    std::array<bool, kSlotCount> freed{};  // the slot's line is given up
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        changed[at(n)] = layout[at(n)] != n;
        freed[at(n)] = changed[at(n)] && has(n) && !has(layout[at(n)]);
        if (changed[at(n)] && has(n) && has(layout[at(n)])) {
            const ini::KeyLine& line = *lines.first[at(n)];
            splices.push_back(
                {line.valueBegin, line.valueEnd, std::string(valueOf(*layout[at(n)]))});
        }
    }
    // Each slot that gets a key takes a given-up line: its source's first, else the first free.
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        const auto& from = layout[at(n)];
        if (has(n) || !has(from)) {
            continue;
        }
        SlotIndex taken = *from;
        if (!freed[at(taken)]) {
            taken =
                static_cast<SlotIndex>(std::find(freed.begin(), freed.end(), true) - freed.begin());
        }
        freed[at(taken)] = false;
        const ini::KeyLine& line = *lines.first[at(taken)];
        const auto nameBegin = static_cast<std::size_t>(line.name.data() - text.data());
        splices.push_back({nameBegin, nameBegin + line.name.size(), slotKey(n)});
        if (taken != *from) {
            splices.push_back({line.valueBegin, line.valueEnd, std::string(valueOf(*from))});
        }
    }
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        if (freed[at(n)]) {
            const ini::Line& line = lines.first[at(n)]->line;
            splices.push_back({line.begin, line.next, ""});
        }
    }
    for (const auto& [n, line] : lines.later) {
        if (changed[at(n)]) {
            splices.push_back({line.begin, line.next, ""});
        }
    }
    if (splices.empty()) {
        return std::nullopt;
    }
    std::sort(splices.begin(), splices.end(),
              [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
    std::string out;
    out.reserve(text.size());
    std::size_t copied = 0;
    for (const Splice& splice : splices) {
        out.append(text.substr(copied, splice.begin - copied)).append(splice.insert);
        copied = splice.end;
    }
    out.append(text.substr(copied));
    return out == text ? std::nullopt : std::optional<std::string>(std::move(out));
}

}  // namespace varnock
