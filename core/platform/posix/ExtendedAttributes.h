// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of a POSIX file's metadata beyond owner and permissions: extended attributes
// (POSIX ACLs among them) and inode flags (chattr).
#pragma once

#include <filesystem>

#include "Status.h"
#include "platform/File.h"
#include "platform/Metadata.h"

namespace varnock::platform::posix {

// Errors that mean "this process or file system cannot carry this over", not a fault.
bool notPermitted(int error);

// Give the new file open as to what old has, where the file system has it.
Result<Carried> keepAttributes(const std::filesystem::path& old, int to);
Result<Carried> keepFlags(const std::filesystem::path& old, int to);

}  // namespace varnock::platform::posix
