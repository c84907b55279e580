// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace varnock::platform {

SysResult<Folder> Folder::open(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return SystemError::last();
    }
    return Folder(path, fd);
}

Folder::Folder(Folder&& other) noexcept
    : m_path(std::move(other.m_path)), m_handle(std::exchange(other.m_handle, -1)) {}

Folder::~Folder() {
    if (m_handle >= 0) {
        ::close(static_cast<int>(m_handle));
    }
}

SysStatus Folder::flush() const {
    if (::fsync(static_cast<int>(m_handle)) != 0 && errno != EINVAL && errno != EOPNOTSUPP) {
        return SystemError::last();
    }
    return kDone;
}

std::size_t Folder::longestName() const {
    const long limit = ::fpathconf(static_cast<int>(m_handle), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

}  // namespace varnock::platform
