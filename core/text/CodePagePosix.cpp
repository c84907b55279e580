// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/CodePage.h"

#include <algorithm>

#include "text/LocaleCodePage.h"
#include "text/SingleByteCodePage.h"

namespace varnock::text {
namespace {

int localeCodePage() {
    static const int number = ansiCodePageOf(localeFromEnvironment());
    return number;
}

// Null for a multi-byte code page: Wine's reader cuts a value at so many bytes, which may fall
// inside a character, so such a page is read and written as ASCII only.
const SingleByteCodePage* localePage() {
    static const SingleByteCodePage* page = singleByteCodePage(localeCodePage());
    return page;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::optional<std::string> toCodePage(std::string_view utf8) {
    if (const SingleByteCodePage* page = localePage()) {
        return page->encode(utf8);
    }
    return isAscii(utf8) ? std::optional<std::string>(utf8) : std::nullopt;
}

std::string fromCodePage(std::string_view bytes) {
    // What a multi-byte page holds beyond ASCII is shown as Windows-1252 would show it: it is
    // never written back, since the list's names are compared only with what was read.
    const SingleByteCodePage* page = localePage() ? localePage() : singleByteCodePage(1252);
    return page->decode(bytes);
}

std::optional<std::string> whyOnlyAscii() {
    if (localePage()) {
        return std::nullopt;
    }
    return "and the other application reads the settings file in code page " +
           std::to_string(localeCodePage()) +
           ", a multi-byte one that Varnock does not write (the locale's)";
}

}  // namespace varnock::text
