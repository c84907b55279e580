// SPDX-License-Identifier: GPL-3.0-or-later
// The 8-bit code page that settings files are written in: the one the other application reads
// them with. On Windows that is the system's ANSI code page; elsewhere the other application
// runs under Wine, which takes it from the locale, and so does Varnock.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnock::text {

// UTF-8 to the code page; nothing for text that the code page cannot hold exactly.
std::optional<std::string> toCodePage(std::string_view utf8);
std::string fromCodePage(std::string_view bytes);

// Why no character outside ASCII can be written, where the code page is a multi-byte one that
// Varnock does not write (a reason that reads on from "it holds "字", "); nothing elsewhere.
std::optional<std::string> whyOnlyAscii();

}  // namespace varnock::text
