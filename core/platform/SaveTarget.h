// SPDX-License-Identifier: GPL-3.0-or-later
// What a save of a settings file is to replace, and whether it may: the one decision that
// both the save and checkSaveable make.
#pragma once

#include <filesystem>
#include <optional>

#include "Status.h"
#include "platform/File.h"

namespace varnock::platform {

struct SaveTarget {
    std::filesystem::path path;   // the file itself, past any symbolic links
    std::optional<FileInfo> old;  // nothing for a file still to be created
};

Result<SaveTarget> lookAtTarget(const std::filesystem::path& path);

// Whether replaceFile could save the file now, decided as replaceFile decides, without
// changing anything; the reason when it could not.
Status checkSaveable(const std::filesystem::path& path);

}  // namespace varnock::platform
