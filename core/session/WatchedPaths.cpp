// SPDX-License-Identifier: GPL-3.0-or-later
#include "WatchedPaths.h"

#include "PathHelpers.h"
#include "platform/FileNameCase.h"

namespace varnock {

WatchedPaths watchedPathsOf(std::string_view iniPath) {
    const std::string dataFiles = dataFilesFolderOf(iniPath);
    return {std::string(iniPath), folderOf(iniPath), dataFiles.substr(0, dataFiles.size() - 1)};
}

bool concernsList(std::string_view name, std::string_view settingsFileName) {
    const auto same = [](std::string_view a, std::string_view b) {
        return platform::foldedFileName(std::string(a)) == platform::foldedFileName(std::string(b));
    };
    if (same(name, settingsFileName)) {
        return true;
    }
    const std::string_view top = name.substr(0, name.find_first_of(pathSeparators()));
    return same(top, kDataFilesFolderName);
}

}  // namespace varnock
