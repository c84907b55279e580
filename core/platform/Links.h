// SPDX-License-Identifier: GPL-3.0-or-later
// Where a path leads, past its symbolic links.
#pragma once

#include <filesystem>

#include "platform/SystemError.h"

namespace varnock::platform {

// The path a save must write: path itself, or the file its chain of links ends at, which may
// not exist yet (a dangling link, where the system can tell its target). The link itself is
// never to be replaced. A link that cannot be followed is a failure, told of where it stopped.
SysResult<std::filesystem::path> resolveLinks(const std::filesystem::path& path);

}  // namespace varnock::platform
