// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own folder for what Varnock keeps, created when missing.
#pragma once

#include <filesystem>

#include "platform/SystemError.h"

namespace varnock::platform {

// $XDG_CACHE_HOME/varnock or ~/.cache/varnock on POSIX, %LOCALAPPDATA%\Varnock on Windows.
// Where the variable it is found by is not set, fails as NotFound told of no path.
SysResult<std::filesystem::path> cacheFolder();
// The variable the cache folder is found by: HOME, or LOCALAPPDATA.
extern const char* const kCacheHomeVariable;

}  // namespace varnock::platform
