// SPDX-License-Identifier: GPL-3.0-or-later
// Reads keys from arbitrary text, checks that the slot table's one-pass reading agrees with
// reading each slot's key, then writes and removes one key and checks that it reads back as
// written while every other key reads as before.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ArchiveSlotTable.h"
#include "ini/IniScanner.h"
#include "ini/IniText.h"
#include "text/SingleByteCodePage.h"

namespace {

using namespace varnock;

// The code page the fuzzed values are converted with, whatever the locale running the fuzzer.
const text::SingleByteCodePage& western() {
    return *text::singleByteCodePage(1252);
}

struct Probe {
    std::string section;
    std::string key;
};

std::string trimmed(std::string_view s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) {
        return {};
    }
    return std::string(s.substr(b, s.find_last_not_of(" \t") - b + 1));
}

// Candidate names taken from the text itself, so that probes hit real keys.
std::vector<Probe> probesFor(std::string_view text, const std::string& section) {
    std::vector<std::string> sections{section};
    std::vector<std::string> keys;
    std::size_t pos = 0;
    while (pos < text.size() && sections.size() + keys.size() < 48) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        if (const auto open = line.find('['); open != std::string_view::npos) {
            sections.push_back(trimmed(line.substr(open + 1, line.find(']', open) - open - 1)));
        }
        if (const auto eq = line.find('='); eq != std::string_view::npos) {
            keys.push_back(trimmed(line.substr(0, eq)));
        }
        pos = end + 1;
    }
    std::vector<Probe> probes;
    for (const auto& s : sections) {
        for (const auto& k : keys) {
            probes.push_back({s, k});
        }
    }
    return probes;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::optional<std::string> lookUp(std::string_view text, std::string_view section,
                                  std::string_view key) {
    const auto value = ini::findValue(text, section, key);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

// The slot table, read in one pass, holds what a read of each slot's key returns.
void checkSlotsMatchKeys(std::string_view text) {
    const SlotSnapshot slots(FileRead{true, std::string(text), {}});
    for (SlotIndex n = 0; n <= kMaxSlot; ++n) {
        const auto value = ini::findValue(text, kArchivesSection, slotKey(n));
        const std::string expected =
            value ? western().decode(value->substr(0, kValueCapacity - 1)) : std::string();
        check(slots.value(n) == expected);
    }
}

std::vector<std::optional<std::string>> readAll(std::string_view text,
                                                const std::vector<Probe>& probes) {
    std::vector<std::optional<std::string>> values;
    for (const auto& p : probes) {
        values.push_back(lookUp(text, p.section, p.key));
    }
    return values;
}

void checkOthersUnchanged(std::string_view before, std::string_view after,
                          const std::vector<Probe>& probes, const std::string& section,
                          const std::string& key) {
    const auto old = readAll(before, probes);
    const auto now = readAll(after, probes);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        const bool written = ini::equalsIgnoringCase(probes[i].section, section) &&
                             ini::equalsIgnoringCase(probes[i].key, key);
        check(written || old[i] == now[i]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(24);
    const std::string key = input.ConsumeRandomLengthString(24);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    checkSlotsMatchKeys(text);
    if (const auto bytes = western().encode(value)) {
        check(western().decode(*bytes) == value);
    }
    (void)western().decode(text);

    if (ini::sectionProblem(section) || ini::keyProblem(key)) {
        return 0;
    }
    const auto probes = probesFor(text, section);
    if (!ini::valueProblem(value)) {
        const auto written = ini::withValue(text, section, key, value);
        const std::string after = written ? *written : text;
        const auto readBack = lookUp(after, section, key);
        check(readBack && *readBack == value);
        checkOthersUnchanged(text, after, probes, section, key);
    }
    const auto removed = ini::withoutKey(text, section, key);
    const std::string after = removed ? *removed : text;
    check(!lookUp(after, section, key));
    checkOthersUnchanged(text, after, probes, section, key);
    return 0;
}
