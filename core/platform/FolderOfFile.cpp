// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Folder.h"

namespace varnock::platform {

std::filesystem::path folderOfFile(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

}  // namespace varnock::platform
