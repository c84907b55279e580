// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows 8-bit code pages that a settings file may be written in: ASCII below 0x80 and a
// table of 128 characters above it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace varnock::text {

using CodePageTable = std::array<char32_t, 128>;

struct SingleByteCodePage {
    int number;  // 1252 for Windows-1252
    const CodePageTable* high;

    // UTF-8 to the code page. Nothing when the text is not valid UTF-8 or holds a character
    // that the code page cannot hold exactly; nothing is ever replaced by a look-alike.
    std::optional<std::string> encode(std::string_view utf8) const;
    // The code page to UTF-8. Every byte converts: one the code page leaves unassigned maps to
    // the C1 control of the same number below 0xA0, as Windows maps them, and to a private-use
    // character above, so that it still converts back to itself.
    std::string decode(std::string_view bytes) const;
};

// The single-byte code page of that number (874, 1250 to 1258), or null.
const SingleByteCodePage* singleByteCodePage(int number);

}  // namespace varnock::text
