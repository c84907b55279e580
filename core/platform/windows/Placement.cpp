// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Placement.h"

#include <cstring>
#include <memory>

#include "platform/windows/Windows.h"

namespace varnock::platform {
namespace {

// Renames the open file itself, in one step, so that it stays open and locked on its way.
// Not ReplaceFileW, which takes several steps that an end between them leaves with no file
// under the target's name; what it would carry over is given to the new file beforehand.
SysStatus renameByHandle(const File& file, const std::filesystem::path& target, bool replace) {
    const std::wstring name = std::filesystem::absolute(target).wstring();
    const std::size_t size = sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t);
    auto buffer = std::make_unique<char[]>(size);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.get());
    rename->ReplaceIfExists = replace;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, name.c_str(), rename->FileNameLength + sizeof(wchar_t));
    const HANDLE handle = windows::handleOf(file.native());
    if (!::SetFileInformationByHandle(handle, FileRenameInfo, rename, static_cast<DWORD>(size)) ||
        !::FlushFileBuffers(handle)) {
        return SystemError::last();
    }
    return kDone;
}

}  // namespace

SysResult<bool> exchange(File& file, const std::filesystem::path&,
                         const std::filesystem::path& target) {
    if (const auto renamed = renameByHandle(file, target, true); !renamed) {
        return renamed.error();
    }
    return false;
}

SysResult<bool> placeNew(File& file, const std::filesystem::path&,
                         const std::filesystem::path& target) {
    if (const auto renamed = renameByHandle(file, target, false); !renamed) {
        if (renamed.error().is(SystemError::Kind::Exists)) {
            return false;
        }
        return renamed.error();
    }
    return true;
}

SysStatus putBack(const std::filesystem::path& from, const std::filesystem::path& target,
                  bool exchanged) {
    // exchange keeps nothing of the old file on Windows, so there is nothing to exchange back.
    if (exchanged) {
        return SystemError(ERROR_NOT_SUPPORTED);
    }
    if (!::MoveFileExW(target.c_str(), from.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return SystemError::last();
    }
    return kDone;
}

}  // namespace varnock::platform
