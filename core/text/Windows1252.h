// SPDX-License-Identifier: GPL-3.0-or-later
// The 8-bit code page that settings files use where the system has no ANSI code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnock::text {

// UTF-8 to Windows-1252. Returns nothing when the text is not valid UTF-8 or holds a
// character that the code page cannot hold exactly; nothing is ever replaced by a look-alike.
std::optional<std::string> utf8ToWindows1252(std::string_view utf8);

// Windows-1252 to UTF-8. Every byte converts: the five bytes the code page leaves unassigned
// map to the C1 controls of the same number, as Windows itself maps them.
std::string windows1252ToUtf8(std::string_view bytes);

}  // namespace varnock::text
