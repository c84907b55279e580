// SPDX-License-Identifier: GPL-3.0-or-later
// What a file carries besides its bytes, given to the new file that takes its place.
#pragma once

#include <filesystem>

#include "Status.h"
#include "platform/File.h"
#include "platform/SystemError.h"

namespace varnock::platform {

enum class Carried { Kept, NotPossible };

// Gives to what old carries that a replacement would otherwise lose. NotPossible when this
// process may not give one of them (only a privileged user may give a file away); then the
// new file must not take the old one's place. A Status, not a system error alone: a file
// marked append-only is refused with its own reason.
Result<Carried> carryMetadata(const std::filesystem::path& old, const File& to);
// What a new settings file gets that the system would not give it by itself.
SysStatus prepareNewFile(const File& to);
// Gives a copy the source's date (and, where the system has them, permissions).
SysStatus carryForCopy(const File& source, const File& to);

}  // namespace varnock::platform
