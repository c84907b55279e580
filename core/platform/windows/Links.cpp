// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Links.h"

#include <string>

#include "platform/SystemError.h"
#include "platform/windows/Windows.h"

namespace varnock::platform {

SysResult<std::filesystem::path> resolveLinks(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const SystemError error = SystemError::last();
        if (!error.is(SystemError::Kind::NotFound)) {
            return error.at(path);
        }
        // A name that the folder lists but that leads nowhere is a link to nothing.
        WIN32_FIND_DATAW found{};
        const HANDLE search = ::FindFirstFileW(path.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return path;  // nothing here yet: the file is to be created under this name
        }
        ::FindClose(search);
        return error.at(path);
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return path;
    }
    // A link's end is found by opening through it; a link to nothing cannot be followed.
    const HANDLE file = ::CreateFileW(path.c_str(), 0, windows::kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return SystemError::last().at(path);
    }
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length =
        ::GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length =
            ::GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    const SystemError error = SystemError::last();
    ::CloseHandle(file);
    if (length == 0 || length >= buffer.size()) {
        return error.at(path);
    }
    buffer.resize(length);
    return std::filesystem::path(buffer);
}

}  // namespace varnock::platform
