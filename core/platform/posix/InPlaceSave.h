// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a file where it stands, for a folder that forbids new files or a file known by more
// than one name.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/Platform.h"

namespace varnock::platform::posix {

// Makes target hold bytes by writing over it from the first byte that changes, while it is
// still what expected read. The old bytes are first copied to the user's cache folder and
// flushed, so that an end at any moment leaves them recoverable; the copy is removed once
// the new bytes are on disk. A failure says whether the file was left unchanged or where its
// old bytes are. A copy left behind by an earlier save that did not finish stops the save
// and is named, unless the file shows that save's start or end.
SaveResult saveInPlace(const std::filesystem::path& target, const FileContent& expected,
                       std::string_view bytes);

}  // namespace varnock::platform::posix
