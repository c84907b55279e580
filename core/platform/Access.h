// SPDX-License-Identifier: GPL-3.0-or-later
// Whether this process may change a file or add one to a folder, asked without changing either.
#pragma once

#include <filesystem>

#include "platform/SystemError.h"

namespace varnock::platform {

SysStatus mayWrite(const std::filesystem::path& file);
SysStatus mayAddFiles(const std::filesystem::path& folder);

}  // namespace varnock::platform
