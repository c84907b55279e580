// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathHelpers.h"

namespace varnock {
namespace {

std::size_t lastComponentStart(std::string_view p) {
    const std::size_t sep = p.find_last_of(pathSeparators());
    return sep == std::string_view::npos ? 0 : sep + 1;
}

}  // namespace

char preferredSeparator() {
    return pathSeparators().front();
}

std::string lastComponent(std::string_view p) {
    return std::string(p.substr(lastComponentStart(p)));
}

std::string folderOf(std::string_view p) {
    return std::string(p.substr(0, lastComponentStart(p)));
}

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string dataFilesFolderOf(std::string_view iniPath) {
    // Built with the separator the settings file's path uses, so that "/" paths on Windows
    // compare like "\" ones.
    const std::string iniFolder = folderOf(iniPath);
    const char separator = iniFolder.empty() ? preferredSeparator() : iniFolder.back();
    return iniFolder + std::string(kDataFilesFolderName) + separator;
}

}  // namespace varnock
