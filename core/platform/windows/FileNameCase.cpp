// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileNameCase.h"

#include "PathHelpers.h"
#include "platform/windows/Windows.h"

namespace varnock::platform {

std::string foldedFileName(std::string_view utf8) {
    // Upper case with no locale's rules, as the file system's own table folds names.
    std::wstring wide = pathFromUtf8(utf8).wstring();
    if (wide.empty()) {
        return {};
    }
    const int length =
        ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(),
                        static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr, 0);
    std::wstring folded(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length <= 0 || ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(),
                                       static_cast<int>(wide.size()), folded.data(), length,
                                       nullptr, nullptr, 0) != length) {
        return std::string(utf8);
    }
    return utf8FromPath(folded);
}

}  // namespace varnock::platform
