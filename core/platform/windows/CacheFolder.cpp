// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CacheFolder.h"

#include <string>

#include "platform/SystemError.h"
#include "platform/windows/Windows.h"

namespace varnock::platform {

const char* const kCacheHomeVariable = "LOCALAPPDATA";

SysResult<std::filesystem::path> cacheFolder() {
    std::wstring base(MAX_PATH, L'\0');
    DWORD length =
        ::GetEnvironmentVariableW(L"LOCALAPPDATA", base.data(), static_cast<DWORD>(base.size()));
    if (length >= base.size()) {
        base.resize(length);
        length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", base.data(),
                                           static_cast<DWORD>(base.size()));
    }
    if (length == 0 || length >= base.size()) {
        return SystemError(ERROR_ENVVAR_NOT_FOUND);
    }
    base.resize(length);
    const std::filesystem::path folder = std::filesystem::path(base) / L"Varnock";
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        return SystemError::last().at(folder);
    }
    return folder;
}

}  // namespace varnock::platform
