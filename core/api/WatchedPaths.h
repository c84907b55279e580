// SPDX-License-Identifier: GPL-3.0-or-later
// What a window watches so that its list follows the settings file and the "Data Files"
// folder beside it, and how long it lets a burst of changes settle.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace varnock {

// After the last change noticed, a window waits this long before it tells the session, so that
// a burst of writes has ended; and this long again when the session asks it to wait.
inline constexpr std::chrono::milliseconds kSettleDelay{250};

// What to watch for the settings file at iniPath: the file, its folder (a file replaced by
// renaming a new one over it is no longer the file watched) and the "Data Files" folder beside
// it, each of which may come and go. Paths in UTF-8 with the system's separators.
struct WatchedPaths {
    std::string settingsFile;
    std::string folder;
    std::string dataFiles;
};
WatchedPaths watchedPathsOf(std::string_view iniPath);

// Whether a change to name, a path below the settings file's folder, concerns the list: the
// settings file itself (settingsFileName), the "Data Files" folder or anything in it. Names
// are compared as the file system finds them, without regard to letter case.
bool concernsList(std::string_view name, std::string_view settingsFileName);

}  // namespace varnock
