// SPDX-License-Identifier: GPL-3.0-or-later
#include "DroppedFiles.h"

#include "WideText.h"

namespace varnock::win32 {

std::vector<std::string> droppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        const UINT got = ::DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(got);
        if (!path.empty()) {
            paths.push_back(utf8(path));
        }
    }
    return paths;
}

std::vector<std::string> takeDroppedPaths(HDROP drop) {
    std::vector<std::string> paths = droppedPaths(drop);
    ::DragFinish(drop);
    return paths;
}

}  // namespace varnock::win32
