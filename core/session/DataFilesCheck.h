// SPDX-License-Identifier: GPL-3.0-or-later
// Which registered archives the other application will not find: it looks for each one in the
// "Data Files" folder beside the settings file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnock {

// For each name, whether no file of that name is in the "Data Files" folder beside the
// settings file at iniPath, looked up as the other application looks it up: without regard to
// letter case, as Windows' file system finds names and as Wine finds them elsewhere. A missing
// folder misses every name.
std::vector<bool> missingFromDataFiles(std::string_view iniPath,
                                       const std::vector<std::string>& names);

}  // namespace varnock
