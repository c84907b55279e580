// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and editing single keys in the text of an INI file, the way the Windows profile
// API reads them, while every byte outside the edited key stays as it was.
//
// Reading rules: lines end at CRLF, LF or a lone CR. A line whose first character after
// spaces and tabs is "[" opens a section named by the text up to the first "]" (or the line's
// end), trimmed. A line starting with ";" is a comment. Any other line with "=" is a key line:
// the name before the first "=", the value after it, both trimmed of spaces and tabs. Names
// compare without regard to ASCII case; only the first section of a name is searched and the
// first matching key in it wins. A value enclosed in one pair of equal quotes (" or ') loses
// them. Lines before the first section and a leading UTF-8 byte-order mark are never keys.
//
// All texts here are bytes in the file's code page; nothing is converted.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace varnock::ini {

// The value of key in the first section named section, not cut to any length.
// Nothing when the section or the key is missing.
std::optional<std::string_view> findValue(std::string_view text, std::string_view section,
                                          std::string_view key);

// Why a section name, key name or value could not be written so that it reads back the same
// (a line break would inject lines, a "=" would move the key's end, …); nothing when it can.
std::optional<std::string> sectionProblem(std::string_view section);
std::optional<std::string> keyProblem(std::string_view key);
std::optional<std::string> valueProblem(std::string_view value);

// The text with key set to value; nothing when the key already reads as value.
// An existing key keeps its line and spelling and only its value bytes change. A new key goes
// on its own line after the first line of the key after, when the section has one, or else
// after the last key line of the section; a missing section is appended.
// New lines use the text's first line ending (CRLF in a text without one).
// The names and the value must be free of the problems above.
std::optional<std::string> withValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value,
                                     std::string_view after = {});

// The text without the lines of key in the first section named section (the section header
// stays); nothing when the key is not there.
std::optional<std::string> withoutKey(std::string_view text, std::string_view section,
                                      std::string_view key);
// As withoutKey, for every key whose name (as written) doomed accepts, in one pass.
std::optional<std::string> withoutKeys(std::string_view text, std::string_view section,
                                       const std::function<bool(std::string_view name)>& doomed);

}  // namespace varnock::ini
