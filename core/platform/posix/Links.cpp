// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Links.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Folder.h"
#include "platform/SystemError.h"

namespace varnock::platform {

SysResult<std::filesystem::path> resolveLinks(const std::filesystem::path& path) {
    // As many links as the kernel follows before it gives up with ELOOP.
    constexpr int kMostLinks = 40;
    std::filesystem::path at = path;
    for (int followed = 0; followed <= kMostLinks; ++followed) {
        struct stat info {};
        if (::lstat(at.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                return at;  // nothing here yet: the file is to be created under this name
            }
            return SystemError::last().at(at);
        }
        if (!S_ISLNK(info.st_mode)) {
            return at;
        }
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 256) + 1,
                           '\0');
        const ssize_t length = ::readlink(at.c_str(), target.data(), target.size());
        if (length < 0) {
            return SystemError::last().at(at);
        }
        target.resize(static_cast<std::size_t>(length));
        // Not normalised: ".." after a linked folder means the link target's parent.
        at = folderOfFile(at) / target;
    }
    return SystemError(ELOOP).at(path);
}

}  // namespace varnock::platform
