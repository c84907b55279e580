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

}  // namespace

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
    // The lines of the slots that change, in the file's order, are given to the slots that
    // then hold a value, in slot order: keys stay in the order they stood, and lines beyond
    // those needed go.
    std::vector<SlotIndex> changedLines;
    std::vector<SlotIndex> receiving;
    std::array<bool, kSlotCount> changed{};
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        changed[at(n)] = layout[at(n)] != n;
        if (changed[at(n)] && has(n)) {
            changedLines.push_back(n);
        }
        if (changed[at(n)] && has(layout[at(n)])) {
            receiving.push_back(n);
        }
    }
    std::sort(changedLines.begin(), changedLines.end(), [&](SlotIndex a, SlotIndex b) {
        return lines.first[at(a)]->line.begin < lines.first[at(b)]->line.begin;
    });
    std::vector<Splice> splices;
    for (std::size_t i = 0; i < changedLines.size(); ++i) {
        const ini::KeyLine& line = *lines.first[at(changedLines[i])];
        if (i >= receiving.size()) {
            splices.push_back({line.line.begin, line.line.next, ""});
            continue;
        }
        const SlotIndex to = receiving[i];
        if (to != changedLines[i]) {
            const auto nameBegin = static_cast<std::size_t>(line.name.data() - text.data());
            splices.push_back({nameBegin, nameBegin + line.name.size(), slotKey(to)});
        }
        const ini::KeyLine& from = *lines.first[at(*layout[at(to)])];
        splices.push_back(
            {line.valueBegin, line.valueEnd,
             std::string(text.substr(from.valueBegin, from.valueEnd - from.valueBegin))});
    }
    for (const auto& [n, line] : lines.later) {
        if (changed[at(n)]) {
            splices.push_back({line.begin, line.next, ""});
        }
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
