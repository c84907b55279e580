// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Placement.h"

#include <fcntl.h>
#include <stdio.h>

#include <cerrno>

namespace varnock::platform {
namespace {

// Errors that say this file system cannot exchange or refuse to replace in one step.
bool cannotInOneStep(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

SysResult<bool> renamed(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return SystemError::last();
    }
    return false;
}

}  // namespace

SysResult<bool> exchange(File&, const std::filesystem::path& from,
                         const std::filesystem::path& target) {
    // Exchanged rather than renamed over, so that the file replaced can still be checked and
    // put back.
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        return true;
    }
    if (!cannotInOneStep(errno) && errno != ENOENT) {
        return SystemError::last();
    }
    return renamed(from, target);
}

SysResult<bool> placeNew(File&, const std::filesystem::path& from,
                         const std::filesystem::path& target) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    if (!cannotInOneStep(errno)) {
        return SystemError::last();
    }
    if (const auto moved = renamed(from, target); !moved) {
        return moved.error();
    }
    return true;
}

SysStatus putBack(const std::filesystem::path& from, const std::filesystem::path& target,
                  bool exchanged) {
    const int done =
        exchanged ? ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE)
                  : ::rename(target.c_str(), from.c_str());
    if (done != 0) {
        return SystemError::last();
    }
    return kDone;
}

}  // namespace varnock::platform
