// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine asks of the file system: a settled read, a save only over what was read,
// and the copy into "Data Files". Written once over the primitives of each system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

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

enum class SaveOutcome { Saved, FileChanged };

// Makes the file hold exactly bytes, or leaves it as it was, and only while it is still what
// expected found (identity, size, time and bytes, checked just before the old file is given
// up): FileChanged tells that another program changed it meanwhile. The bytes go to a new
// file in the same folder, which is given what the old one carries besides its bytes,
// flushed, and put in the old one's place; a symbolic link is followed to its end, where a
// missing file is created. Where a new file would lose something (the folder forbids it, the
// file has other names, its owner cannot be given away), the file is rewritten in place,
// after its old bytes are kept. A failure means the file is unchanged, unless its reason
// says otherwise. Waits a few seconds at most for a lock that another process holds.
Result<SaveOutcome> replaceFile(const std::filesystem::path& path, const FileRead& expected,
                                std::string_view bytes);

// Whether replaceFile could save the file now, decided as replaceFile decides, without
// changing anything; the reason when it could not.
Status checkSaveable(const std::filesystem::path& path);

// Told how far a copy has come; returning false cancels it.
using CopyProgress = std::function<bool(std::uint64_t copied, std::uint64_t total)>;

enum class CopyOutcome { Copied, Cancelled };

// Makes destination a copy of source, replacing any file there, or leaves destination as it
// was: the bytes go to a new file in destination's folder, which is flushed and then put in
// place, so that no half-copied file ever stands under that name; it keeps the source's
// modification time. On failure or cancellation the new file is removed.
Result<CopyOutcome> copyFile(const std::filesystem::path& source,
                             const std::filesystem::path& destination,
                             const CopyProgress& progress);

}  // namespace varnock::platform
