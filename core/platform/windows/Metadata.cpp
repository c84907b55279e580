// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Metadata.h"

#include "platform/windows/Windows.h"
// After windows.h, which it needs.
#include <aclapi.h>

namespace varnock::platform {
namespace {

// Errors that mean this process may not give the file that security, not a fault.
bool notPermitted(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_PRIVILEGE_NOT_HELD ||
           error == ERROR_INVALID_OWNER;
}

// The old file's owner, group and access list, given to the new file: what ReplaceFileW
// would carry over. NotPossible when this process may not give the file away.
Result<Carried> carrySecurity(const std::filesystem::path& old, HANDLE to) {
    PSID owner = nullptr;
    PSID group = nullptr;
    PACL access = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    constexpr SECURITY_INFORMATION kParts =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD error = ::GetNamedSecurityInfoW(old.c_str(), SE_FILE_OBJECT, kParts, &owner, &group,
                                          &access, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) {
        return failure("Cannot read the security of", old, SystemError(error));
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &control, &revision);
    const SECURITY_INFORMATION inheritance = (control & SE_DACL_PROTECTED)
                                                 ? PROTECTED_DACL_SECURITY_INFORMATION
                                                 : UNPROTECTED_DACL_SECURITY_INFORMATION;
    error =
        ::SetSecurityInfo(to, SE_FILE_OBJECT, kParts | inheritance, owner, group, access, nullptr);
    ::LocalFree(descriptor);
    if (error != ERROR_SUCCESS) {
        return notPermitted(error) ? Result<Carried>(Carried::NotPossible)
                                   : failure("Cannot save", old, SystemError(error));
    }
    return Carried::Kept;
}

// Wine keeps a file's access list as its Unix permission bits, and maps a list given to a new
// file onto bits of its own (a 0644 file becomes 0775): there the old file is written in place,
// which keeps its bits exactly.
bool accessListsBecomeUnixBits() {
    static const bool wine = [] {
        const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

}  // namespace

Result<Carried> carryMetadata(const std::filesystem::path& old, const File& to) {
    if (accessListsBecomeUnixBits()) {
        return Carried::NotPossible;
    }
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
    return carrySecurity(old, windows::handleOf(to.native()));
}

SysStatus prepareNewFile(const File&) {
    return kDone;  // a new file takes its folder's security, as any would
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
