// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Metadata.h"

#include "platform/windows/Windows.h"

namespace varnock::platform {

Result<Carried> carryMetadata(const std::filesystem::path& old, const File& to) {
    // Security and streams go with ReplaceFileW; the attributes are given here, so that a
    // plain move, where the file system refuses ReplaceFileW, keeps them too.
    const DWORD attributes = ::GetFileAttributesW(old.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return failure("Cannot read", old, SystemError::last());
    }
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO basic{};  // times of zero are left as they are
    basic.FileAttributes = (attributes & kKept) != 0 ? attributes & kKept : FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileInformationByHandle(windows::handleOf(to.native()), FileBasicInfo, &basic,
                                      sizeof basic)) {
        return failure("Cannot save", old, SystemError::last());
    }
    return Carried::Kept;
}

Status prepareNewFile(const std::filesystem::path&, const File&) {
    return Status::success();  // a new file takes its folder's security, as any would
}

SysStatus carryForCopy(const File& source, const File& to) {
    FILETIME written{};
    if (!::GetFileTime(windows::handleOf(source.native()), nullptr, nullptr, &written) ||
        !::SetFileTime(windows::handleOf(to.native()), nullptr, nullptr, &written)) {
        return SystemError::last();
    }
    return kDone;
}

}  // namespace varnock::platform
