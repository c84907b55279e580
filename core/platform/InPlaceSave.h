// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a file where it stands, for a folder that forbids new files or a file known by more
// than one name.
#pragma once

#include <filesystem>
#include <string_view>

#include "FileRead.h"
#include "platform/ReplaceFile.h"
#include "platform/SaveLock.h"

namespace varnock::platform {

// Makes target hold bytes by writing over it from the first byte that changes, while it is
// still what expected found. The old bytes are first kept (KeptCopy), so that an end at any
// moment leaves them recoverable; the copy is removed once the new bytes are on disk. A
// failure says whether the file was left unchanged or where its old bytes are.
Result<SaveOutcome> saveInPlace(const std::filesystem::path& target, const SaveLock& lock,
                                const FileRead& expected, std::string_view bytes);

}  // namespace varnock::platform
