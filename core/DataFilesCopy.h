// SPDX-License-Identifier: GPL-3.0-or-later
// The copy of an archive into the "Data Files" folder that registration offers.
#pragma once

#include <string>
#include <string_view>

#include "CopyProgressView.h"
#include "UserPrompts.h"

namespace varnock {

// Copies the archive to destination, asking before it replaces a different file of that name.
// Returns whether registration may go on: true when the archive is now at destination, when
// destination already is the archive itself, or when the user chose to keep the file there;
// false when the copy failed (the user has been told why) or was cancelled.
bool copyIntoDataFiles(std::string_view archivePath, const std::string& archiveName,
                       std::string_view destination, UserPrompts& prompts,
                       CopyProgressView& progress);

}  // namespace varnock
