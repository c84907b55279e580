// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Folder.h"

#include <utility>

#include "platform/windows/Windows.h"

namespace varnock::platform {

SysResult<Folder> Folder::open(const std::filesystem::path& path) {
    const HANDLE opened =
        ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, windows::kShareAll, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return SystemError::last();
    }
    return Folder(path, reinterpret_cast<std::intptr_t>(opened));
}

Folder::Folder(Folder&& other) noexcept
    : m_path(std::move(other.m_path)), m_handle(std::exchange(other.m_handle, -1)) {}

Folder::~Folder() {
    if (m_handle != -1) {
        ::CloseHandle(windows::handleOf(m_handle));
    }
}

SysStatus Folder::flush() const {
    // Windows has no flush of a folder's entries: moves are written through instead.
    return kDone;
}

std::size_t Folder::longestName() const {
    return 255;
}

}  // namespace varnock::platform
