// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFiles.h"

#include <array>

namespace varnock::bench {

std::string settingsText(std::size_t targetBytes, int archivesAfter) {
    constexpr std::array<const char*, 12> kSections = {
        "General",   "Display", "Audio",  "Controls", "Water",  "Grass",
        "Interface", "Fonts",   "Combat", "Papyrus",  "Camera", "Launcher"};
    std::string archives = "[Archives]\r\n";
    for (int n = 0; n < 256; ++n) {
        archives += "Archive " + std::to_string(n) + "=Archive Number " + std::to_string(n) +
                    " - Textures.bsa\r\n";
    }
    archives += "\r\n";
    const std::size_t perSection = (targetBytes - archives.size()) / kSections.size();
    std::string text = "; Settings\r\n";
    for (int s = 0; s < static_cast<int>(kSections.size()); ++s) {
        if (s == archivesAfter) {
            text += archives;
        }
        const std::size_t start = text.size();
        text += std::string("[") + kSections[s] + "]\r\n";
        for (int k = 0; text.size() - start < perSection; ++k) {
            text += "fSetting" + std::to_string(k) + " = " + std::to_string(k * 37 % 1000) +
                    ".5000 ; tuned value\r\n";
        }
        text += "\r\n";
    }
    if (archivesAfter >= static_cast<int>(kSections.size())) {
        text += archives;
    }
    return text;
}

}  // namespace varnock::bench
