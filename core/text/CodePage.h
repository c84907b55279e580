// SPDX-License-Identifier: GPL-3.0-or-later
// The 8-bit code page that settings files are written in: the system's ANSI code page on
// Windows, Windows-1252 elsewhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnock::text {

// UTF-8 to the code page; nothing for text that the code page cannot hold exactly.
std::optional<std::string> toCodePage(std::string_view utf8);
std::string fromCodePage(std::string_view bytes);

}  // namespace varnock::text
