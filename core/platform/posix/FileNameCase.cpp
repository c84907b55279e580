// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileNameCase.h"

#include <locale.h>
#include <wctype.h>

#include "text/Utf8.h"

namespace varnock::platform {
namespace {

// Case mapping of the whole of Unicode, whatever the user's locale: the other application,
// run under Wine, folds names by Unicode's table too.
locale_t unicodeCase() {
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

}  // namespace

std::string foldedFileName(std::string_view utf8) {
    const locale_t locale = unicodeCase();
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto c = text::decodeUtf8(utf8, pos);
        if (!c) {
            return std::string(utf8);
        }
        char32_t lower = *c;
        if (lower < 0x80) {
            if (lower >= U'A' && lower <= U'Z') {
                lower = lower - U'A' + U'a';
            }
        } else if (locale != nullptr) {
            lower = static_cast<char32_t>(::towlower_l(static_cast<wint_t>(*c), locale));
        }
        text::appendUtf8(folded, lower);
    }
    return folded;
}

}  // namespace varnock::platform
