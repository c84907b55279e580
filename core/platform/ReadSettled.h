// SPDX-License-Identifier: GPL-3.0-or-later
// The read of a settings file that the engine trusts: whole, and taken when no other program
// is writing it.
#pragma once

#include <cstdint>
#include <filesystem>

#include "FileRead.h"
#include "Status.h"

namespace varnock::platform {

// Larger than any settings file; a file this large is refused rather than read whole.
inline constexpr std::uint64_t kLargestSettingsFile = 64u << 20;

// The whole file, taken when no other program is writing it: a read during which the file
// changed, or of a file written a moment ago, is repeated until two reads agree. A missing
// file is a success with exists false; a folder, a device, a file larger than
// kLargestSettingsFile, one that cannot be read to its end or that keeps changing is a
// failure. Never blocks on a pipe.
Result<FileRead> readSettled(const std::filesystem::path& path);

}  // namespace varnock::platform
