// SPDX-License-Identifier: GPL-3.0-or-later
// Settings files of realistic shape for the benchmarks.
#pragma once

#include <cstddef>
#include <string>

namespace varnock::bench {

// CRLF text with a dozen sections of ordinary keys, and an [Archives] section of 256 slots
// placed after archivesAfter of them, padded to about targetBytes.
std::string settingsText(std::size_t targetBytes, int archivesAfter);

}  // namespace varnock::bench
