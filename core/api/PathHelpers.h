// SPDX-License-Identifier: GPL-3.0-or-later
// File paths as the user sees them: UTF-8 text with the platform's separators.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace varnock {

// The separators a path may use: "\" and "/" on Windows, "/" elsewhere.
std::string_view pathSeparators();

// The separator that paths are built with: "\" on Windows, "/" elsewhere.
char preferredSeparator();

// The text after the last separator; all of p when it has none; empty when p ends with one.
std::string lastComponent(std::string_view p);

// p without its last component: the folder with its trailing separator kept.
std::string folderOf(std::string_view p);

// Where the other application looks for archives, beside its settings file.
inline constexpr std::string_view kDataFilesFolderName = "Data Files";

// The "Data Files" folder beside the settings file at iniPath, with its trailing separator:
// the one that settings file's path uses.
std::string dataFilesFolderOf(std::string_view iniPath);

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace varnock
