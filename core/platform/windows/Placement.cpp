// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Placement.h"

#include <cstring>
#include <memory>

#include "platform/windows/Windows.h"

namespace varnock::platform {
namespace {

constexpr DWORD kMoveFlags = MOVEFILE_WRITE_THROUGH;

// Renames the open file itself, so that it stays open and locked on its way; false where
// the system refuses a rename by handle.
bool renamedByHandle(const File& file, const std::filesystem::path& target, bool replace) {
    const std::wstring name = std::filesystem::absolute(target).wstring();
    const std::size_t size = sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t);
    auto buffer = std::make_unique<char[]>(size);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.get());
    rename->ReplaceIfExists = replace;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, name.c_str(), rename->FileNameLength + sizeof(wchar_t));
    return ::SetFileInformationByHandle(windows::handleOf(file.native()), FileRenameInfo, rename,
                                        static_cast<DWORD>(size)) &&
           ::FlushFileBuffers(windows::handleOf(file.native()));
}

bool alreadyThere() {
    return SystemError::last().is(SystemError::Kind::Exists);
}

}  // namespace

SysResult<bool> exchange(File& file, const std::filesystem::path& from,
                         const std::filesystem::path& target, Carry carry) {
    if (carry == Carry::Nothing && renamedByHandle(file, target, true)) {
        return false;
    }
    // ReplaceFileW keeps the old file's attributes, security and streams; it opens the new
    // file itself, so ours is closed first. Where the file system refuses it, a plain
    // write-through move still replaces the file whole.
    file.close();
    if (carry == Carry::FileIdentity &&
        ::ReplaceFileW(target.c_str(), from.c_str(), nullptr,
                       REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                       nullptr)) {
        return false;
    }
    if (!::MoveFileExW(from.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | kMoveFlags)) {
        return SystemError::last();
    }
    return false;
}

SysResult<bool> placeNew(File& file, const std::filesystem::path& from,
                         const std::filesystem::path& target) {
    if (renamedByHandle(file, target, false)) {
        return true;
    }
    if (alreadyThere()) {
        return false;
    }
    file.close();
    if (!::MoveFileExW(from.c_str(), target.c_str(), kMoveFlags)) {
        if (alreadyThere()) {
            return false;
        }
        return SystemError::last();
    }
    return true;
}

SysStatus putBack(const std::filesystem::path& from, const std::filesystem::path& target,
                  bool exchanged) {
    // exchange keeps nothing of the old file on Windows, so there is nothing to exchange back.
    if (exchanged) {
        return SystemError(ERROR_NOT_SUPPORTED);
    }
    if (!::MoveFileExW(target.c_str(), from.c_str(), kMoveFlags)) {
        return SystemError::last();
    }
    return kDone;
}

}  // namespace varnock::platform
