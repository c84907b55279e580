// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a file is this user's: its owner is the one this process gives what it creates.
#include <memory>

#include "platform/File.h"
#include "platform/windows/Windows.h"
// After windows.h, which it needs.
#include <aclapi.h>

namespace varnock::platform {
namespace {

// The owner this process's token gives to what it creates; nothing when it cannot be had.
std::unique_ptr<char[]> defaultOwner() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return nullptr;
    }
    DWORD size = 0;
    ::GetTokenInformation(token, TokenOwner, nullptr, 0, &size);
    auto owner = size > 0 ? std::make_unique<char[]>(size) : nullptr;
    const bool got = owner && ::GetTokenInformation(token, TokenOwner, owner.get(), size, &size);
    ::CloseHandle(token);
    return got ? std::move(owner) : nullptr;
}

}  // namespace

SysResult<bool> File::ownedByUs() const {
    static const std::unique_ptr<char[]> ours = defaultOwner();
    if (!ours) {
        return SystemError(ERROR_NO_TOKEN);
    }
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error =
        ::GetSecurityInfo(windows::handleOf(m_handle), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION,
                          &owner, nullptr, nullptr, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) {
        return SystemError(error);
    }
    const bool same = ::EqualSid(owner, reinterpret_cast<TOKEN_OWNER*>(ours.get())->Owner) != 0;
    ::LocalFree(descriptor);
    return same;
}

}  // namespace varnock::platform
