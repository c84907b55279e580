// SPDX-License-Identifier: GPL-3.0-or-later
// The copy of an archive into the "Data Files" folder that registration offers.
#pragma once

#include <string>
#include <string_view>

#include "CopyProgressView.h"
#include "UserPrompts.h"

namespace varnock {

enum class DataFilesCopy {
    Copied,
    AlreadyThere,  // destination is the archive itself
    KeptOther,     // the user chose to keep the different file already there
    Failed,        // the user has been told why
    Cancelled,
};

// Whether registration goes on after such a copy: unless it failed or was cancelled.
inline bool registrationGoesOn(DataFilesCopy copy) {
    return copy != DataFilesCopy::Failed && copy != DataFilesCopy::Cancelled;
}

// Copies the archive to destination, asking before it replaces a different file of that name.
DataFilesCopy copyIntoDataFiles(std::string_view archivePath, const std::string& archiveName,
                                std::string_view destination, UserPrompts& prompts,
                                CopyProgressView& progress);

}  // namespace varnock
