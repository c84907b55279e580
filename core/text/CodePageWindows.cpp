// SPDX-License-Identifier: GPL-3.0-or-later
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "text/CodePage.h"
#include "text/Utf8.h"

namespace varnock::text {
namespace {

std::wstring wideFromCodePage(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

}  // namespace

std::optional<std::string> toCodePage(std::string_view utf8) {
    if (!isValidUtf8(utf8)) {
        return std::nullopt;
    }
    const UINT codePage = ::GetACP();
    if (codePage == CP_UTF8) {
        return std::string(utf8);
    }
    const std::wstring wide = wideFromCodePage(CP_UTF8, utf8);
    if (wide.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                             nullptr, 0, nullptr, &usedDefault);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length,
                          nullptr, &usedDefault);
    // The round trip catches what the flags do not, such as a lone surrogate in a DBCS page.
    if (length == 0 || usedDefault || wideFromCodePage(codePage, bytes) != wide) {
        return std::nullopt;
    }
    return bytes;
}

std::string fromCodePage(std::string_view bytes) {
    const std::wstring wide = wideFromCodePage(::GetACP(), bytes);
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < wide.size()) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[++i] - 0xDC00);
        }
        appendUtf8(utf8, cp);
    }
    return utf8;
}

std::optional<std::string> whyOnlyAscii() {
    return std::nullopt;  // the system's own conversion writes every ANSI code page
}

}  // namespace varnock::text
