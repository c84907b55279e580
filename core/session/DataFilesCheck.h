// SPDX-License-Identifier: GPL-3.0-or-later
// Which registered archives the other application will not find: it looks for each one in the
// "Data Files" folder beside the settings file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnock {

// For each name, whether no file of that name is in any of folders (the "Data Files" folders
// where the other application looks), looked up as that application looks it up: without
// regard to letter case, as Windows' file system finds names and as Wine finds them elsewhere.
// A missing folder holds no name.
std::vector<bool> missingFromDataFiles(const std::vector<std::string>& folders,
                                       const std::vector<std::string>& names);

}  // namespace varnock
