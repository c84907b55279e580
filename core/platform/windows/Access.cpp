// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Access.h"

#include "platform/windows/Windows.h"

namespace varnock::platform {
namespace {

// Opening with the rights asked is the question itself; nothing is written.
SysStatus opens(const std::filesystem::path& path, DWORD rights, DWORD flags) {
    const HANDLE opened = ::CreateFileW(path.c_str(), rights, windows::kShareAll, nullptr,
                                        OPEN_EXISTING, flags, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return SystemError::last();
    }
    ::CloseHandle(opened);
    return kDone;
}

}  // namespace

SysStatus mayWrite(const std::filesystem::path& file) {
    return opens(file, FILE_WRITE_DATA, FILE_ATTRIBUTE_NORMAL);
}

SysStatus mayAddFiles(const std::filesystem::path& folder) {
    return opens(folder, FILE_ADD_FILE, FILE_FLAG_BACKUP_SEMANTICS);
}

}  // namespace varnock::platform
