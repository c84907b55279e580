// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a file is this user's: its owner is this user, or the owner this process gives to
// what it creates (a group, for an administrator).
#include <memory>

#include "platform/File.h"
#include "platform/windows/Windows.h"
// After windows.h, which it needs.
#include <aclapi.h>

namespace varnock::platform {
namespace {

// One part of this process's token (TokenUser, TokenOwner); nothing when it cannot be had.
std::unique_ptr<char[]> fromToken(TOKEN_INFORMATION_CLASS part) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return nullptr;
    }
    DWORD size = 0;
    ::GetTokenInformation(token, part, nullptr, 0, &size);
    auto owner = size > 0 ? std::make_unique<char[]>(size) : nullptr;
    const bool got = owner && ::GetTokenInformation(token, part, owner.get(), size, &size);
    ::CloseHandle(token);
    return got ? std::move(owner) : nullptr;
}

}  // namespace

SysResult<bool> File::ownedByUs() const {
    static const std::unique_ptr<char[]> user = fromToken(TokenUser);
    static const std::unique_ptr<char[]> owner = fromToken(TokenOwner);
    if (!user || !owner) {
        return SystemError(ERROR_NO_TOKEN);
    }
    PSID its = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error =
        ::GetSecurityInfo(windows::handleOf(m_handle), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION,
                          &its, nullptr, nullptr, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) {
        return SystemError(error);
    }
    const bool same = ::EqualSid(its, reinterpret_cast<TOKEN_USER*>(user.get())->User.Sid) ||
                      ::EqualSid(its, reinterpret_cast<TOKEN_OWNER*>(owner.get())->Owner);
    ::LocalFree(descriptor);
    return same;
}

}  // namespace varnock::platform
