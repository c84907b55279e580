// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace varnock::testing {

// A settings file as the owning application leaves it: CRLF, comments, several sections.
inline const std::string kRealistic =
    "; Settings of the application\r\n"
    "[General]\r\n"
    "sLanguage=ENGLISH\r\n"
    "uGridsToLoad = 5\r\n"
    "\r\n"
    "[Archives]\r\n"
    "Archive 0=Meshes.bsa\r\n"
    "  archive 1 =  Textures.bsa\r\n"
    "; user archives follow\r\n"
    "\r\n"
    "[Display]\r\n"
    "iSize W=1024\r\n";

// kRealistic with "Archive 0" set to name.
inline std::string realisticWithArchive0(const std::string& name) {
    std::string text = kRealistic;
    return text.replace(text.find("Meshes.bsa"), 10, name);
}

}  // namespace varnock::testing
