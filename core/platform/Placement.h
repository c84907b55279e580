// SPDX-License-Identifier: GPL-3.0-or-later
// Putting a written temporary file in the place of its target, and taking it back.
#pragma once

#include <filesystem>

#include "platform/File.h"
#include "platform/SystemError.h"

namespace varnock::platform {

// Puts from (open as file) in target's place in one step. True when the file that stood
// there is now under from's name, to be checked and put back; false where the system keeps
// nothing of it (or nothing stood there).
SysResult<bool> exchange(File& file, const std::filesystem::path& from,
                         const std::filesystem::path& target);
// Puts from in the place of target, which does not exist; false when a file appeared there
// meanwhile (nothing was moved).
SysResult<bool> placeNew(File& file, const std::filesystem::path& from,
                         const std::filesystem::path& target);
// Undoes exchange (kept: true) or placeNew: what stood at target stands there again.
SysStatus putBack(const std::filesystem::path& from, const std::filesystem::path& target,
                  bool exchanged);

}  // namespace varnock::platform
