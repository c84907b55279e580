// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChunkCopy.h"

#include <unistd.h>

#include <cerrno>

namespace varnock::platform {

SysResult<std::uint64_t> ChunkCopy::next(std::uint64_t copied) {
    const int in = static_cast<int>(m_in.native());
    const int out = static_cast<int>(m_out.native());
    for (;;) {
        if (m_inKernel) {
            const ssize_t moved = ::copy_file_range(in, nullptr, out, nullptr, kCopyChunk, 0);
            if (moved >= 0) {
                return static_cast<std::uint64_t>(moved);
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP &&
                errno != EPERM) {
                return SystemError::last();
            }
            m_inKernel = false;  // this pair of file systems needs the plain way
        }
        // Once on this path the copy stays on it, so that reading and writing at the same
        // offset is all that is needed.
        return throughBuffer(copied);
    }
}

}  // namespace varnock::platform
