// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Access.h"

#include <fcntl.h>
#include <unistd.h>

namespace varnock::platform {
namespace {

SysStatus allowed(const std::filesystem::path& path, int mode) {
    if (::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) != 0) {
        return SystemError::last();
    }
    return kDone;
}

}  // namespace

SysStatus mayWrite(const std::filesystem::path& file) {
    return allowed(file, W_OK);
}

SysStatus mayAddFiles(const std::filesystem::path& folder) {
    return allowed(folder, W_OK | X_OK);
}

}  // namespace varnock::platform
