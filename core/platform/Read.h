// SPDX-License-Identifier: GPL-3.0-or-later
// One read of a whole file, and whether it caught the file still.
#pragma once

#include <filesystem>

#include "FileRead.h"
#include "Status.h"

namespace varnock::platform {

struct OneRead {
    FileRead read;
    bool settled = true;  // false when the file changed while it was read
};

Result<OneRead> readOnce(const std::filesystem::path& path);

}  // namespace varnock::platform
