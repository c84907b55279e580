// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CacheFolder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "platform/SystemError.h"

namespace varnock::platform {

const char* const kCacheHomeVariable = "HOME";

SysResult<std::filesystem::path> cacheFolder() {
    namespace fs = std::filesystem;
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    fs::path base;
    if (cache != nullptr && fs::path(cache).is_absolute()) {
        base = cache;
    } else if (home != nullptr && *home != '\0') {
        base = fs::path(home) / ".cache";
    } else {
        return SystemError(ENOENT);
    }
    std::error_code ec;
    fs::create_directories(base, ec);
    const fs::path folder = base / "varnock";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return SystemError::last().at(folder);
    }
    return folder;
}

}  // namespace varnock::platform
