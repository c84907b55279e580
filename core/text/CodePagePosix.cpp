// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/CodePage.h"
#include "text/Windows1252.h"

namespace varnock::text {

std::optional<std::string> toCodePage(std::string_view utf8) {
    return utf8ToWindows1252(utf8);
}

std::string fromCodePage(std::string_view bytes) {
    return windows1252ToUtf8(bytes);
}

}  // namespace varnock::text
