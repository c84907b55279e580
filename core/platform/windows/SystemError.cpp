// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemError.h"

#include <string>

#include "PathHelpers.h"
#include "platform/windows/Windows.h"

namespace varnock::platform {

SystemError SystemError::last() {
    return SystemError(::GetLastError());
}

SystemError SystemError::isAFolder() {
    constexpr DWORD kDirectoryNotSupported = 336;  // ERROR_DIRECTORY_NOT_SUPPORTED
    return SystemError(kDirectoryNotSupported);
}

SystemError::Kind SystemError::kind() const {
    switch (m_code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return Kind::NotFound;
        case ERROR_ACCESS_DENIED:
            return Kind::AccessDenied;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return Kind::Exists;
        case ERROR_LOCK_VIOLATION:
        case ERROR_SHARING_VIOLATION:
            return Kind::Locked;
        case ERROR_INVALID_PARAMETER:
        case ERROR_NOT_SUPPORTED:
        case ERROR_CALL_NOT_IMPLEMENTED:
        case ERROR_INVALID_FUNCTION:
            return Kind::Unsupported;
        default:
            return Kind::Other;
    }
}

std::string SystemError::message() const {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, m_code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", buffer ? length : 0);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "error " + std::to_string(m_code);
    }
    return utf8FromPath(std::filesystem::path(text));
}

}  // namespace varnock::platform
