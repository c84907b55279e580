// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace varnock::platform {

SystemError SystemError::last() {
    return SystemError(static_cast<std::uint32_t>(errno));
}

SystemError SystemError::isAFolder() {
    return SystemError(EISDIR);
}

SystemError::Kind SystemError::kind() const {
    switch (static_cast<int>(m_code)) {
        case ENOENT:
            return Kind::NotFound;
        case EACCES:
        case EPERM:
            return Kind::AccessDenied;
        case EEXIST:
            return Kind::Exists;
        case EWOULDBLOCK:
            return Kind::Locked;
        case EINVAL:
        case ENOLCK:
        case ENOSYS:
        case EOPNOTSUPP:
            return Kind::Unsupported;
        default:
            return Kind::Other;
    }
}

std::string SystemError::message() const {
    return std::strerror(static_cast<int>(m_code));
}

}  // namespace varnock::platform
