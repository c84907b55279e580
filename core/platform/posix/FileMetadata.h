// SPDX-License-Identifier: GPL-3.0-or-later
// What a file carries besides its bytes, given from the file a save replaces to its successor.
#pragma once

#include <sys/stat.h>

#include <filesystem>

#include "Status.h"

namespace varnock::platform::posix {

enum class Keeping { Kept, NotPossible };

// Gives the new file open as to the old file's owner and group, extended attributes (POSIX
// ACLs among them), inode flags (chattr) and permission bits, where the file system has
// them. NotPossible when this process may not set one of them (only a privileged user may
// give a file away); then the new file must not take the old one's place. A failure when a
// call fails for another reason.
Result<Keeping> keepMetadata(const std::filesystem::path& old, const struct stat& oldInfo, int to);

}  // namespace varnock::platform::posix
