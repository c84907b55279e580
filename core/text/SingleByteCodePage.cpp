// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/SingleByteCodePage.h"

#include <cstdint>

#include "text/Utf8.h"

namespace varnock::text {
namespace {

constexpr char32_t kUnassignedBase = 0xF700;

char32_t characterOf(const CodePageTable& high, std::uint8_t byte) {
    if (byte < 0x80) {
        return byte;
    }
    const char32_t assigned = high[byte - 0x80];
    if (assigned != 0) {
        return assigned;
    }
    return byte < 0xA0 ? char32_t{byte} : kUnassignedBase + byte;
}

std::optional<char> byteOf(const CodePageTable& high, char32_t c) {
    if (c < 0x80) {
        return static_cast<char>(c);
    }
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        if (characterOf(high, static_cast<std::uint8_t>(byte)) == c) {
            return static_cast<char>(byte);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> SingleByteCodePage::encode(std::string_view utf8) const {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto c = decodeUtf8(utf8, pos);
        if (!c) {
            return std::nullopt;
        }
        const auto byte = byteOf(*high, *c);
        if (!byte) {
            return std::nullopt;
        }
        out.push_back(*byte);
    }
    return out;
}

std::string SingleByteCodePage::decode(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        appendUtf8(out, characterOf(*high, static_cast<std::uint8_t>(c)));
    }
    return out;
}

}  // namespace varnock::text
