// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own folder for what Varnock keeps, created when missing.
#pragma once

#include <filesystem>

#include "Status.h"

namespace varnock::platform {

// $XDG_CACHE_HOME/varnock or ~/.cache/varnock on POSIX, %LOCALAPPDATA%\Varnock on Windows.
Result<std::filesystem::path> cacheFolder();

}  // namespace varnock::platform
