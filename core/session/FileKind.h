// SPDX-License-Identifier: GPL-3.0-or-later
// What each selection button chooses: the dialog's filter and the check of the chosen name
// both come from the one extension.
#pragma once

#include <string>
#include <string_view>

namespace varnock {

struct FileKind {
    std::string_view description;
    std::string_view extension;  // lower case

    // "Archive file (*.BSA)": the filter's text as the dialog names it.
    std::string filterName() const;
    // "*.BSA": the files the dialog lists.
    std::string pattern() const;
    // Only the last three characters count, in any case: "x.Bsa" and "xbsa" both pass.
    bool matches(std::string_view path) const;
};

inline constexpr FileKind kArchiveFile{"Archive file", "bsa"};
inline constexpr FileKind kSettingsFile{"Initialization settings file", "ini"};

}  // namespace varnock
