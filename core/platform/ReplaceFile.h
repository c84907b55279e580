// SPDX-License-Identifier: GPL-3.0-or-later
// The save of a settings file: only over what was read, whole or not at all. Written once
// over the primitives of each system.
#pragma once

#include <filesystem>
#include <string_view>

#include "FileRead.h"
#include "Status.h"

namespace varnock::platform {

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

}  // namespace varnock::platform
