// SPDX-License-Identifier: GPL-3.0-or-later
// Strict UTF-8 decoding and encoding of single code points.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnock::text {

// Decodes the code point at pos and advances pos past it. Returns nothing for overlong
// forms, surrogates, values above U+10FFFF and truncated or malformed sequences.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos);

void appendUtf8(std::string& out, char32_t codePoint);

bool isValidUtf8(std::string_view text);

// The number of characters (code points) of valid UTF-8 text.
std::size_t characterCount(std::string_view text);

}  // namespace varnock::text
