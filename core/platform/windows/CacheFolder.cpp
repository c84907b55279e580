// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CacheFolder.h"

#include <string>

#include "platform/SystemError.h"
#include "platform/windows/Windows.h"

namespace varnock::platform {

Result<std::filesystem::path> cacheFolder() {
    std::wstring base(MAX_PATH, L'\0');
    DWORD length =
        ::GetEnvironmentVariableW(L"LOCALAPPDATA", base.data(), static_cast<DWORD>(base.size()));
    if (length >= base.size()) {
        base.resize(length);
        length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", base.data(),
                                           static_cast<DWORD>(base.size()));
    }
    if (length == 0 || length >= base.size()) {
        return Status::failure(
            "Cannot keep a copy of the settings file's old bytes: there is "
            "no cache folder (LOCALAPPDATA is not set).");
    }
    base.resize(length);
    const std::filesystem::path folder = std::filesystem::path(base) / L"Varnock";
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        return failure("Cannot create the folder", folder, SystemError::last());
    }
    return folder;
}

}  // namespace varnock::platform
