// SPDX-License-Identifier: GPL-3.0-or-later
// Registering an archive: its file name goes into the first free slot of the settings file,
// after the archive has been copied into the "Data Files" folder if the user wants that.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ArchiveSlotTable.h"
#include "CopyProgressView.h"
#include "Status.h"
#include "UserPrompts.h"

namespace varnock {

// The name ready to store, or why it cannot be registered so that it reads back the same (a
// reason that reads on from "…: ").
Result<StorableValue> registrableName(std::string_view name);

enum class RegistrationOutcome {
    Registered,
    NotRegistered,  // nothing was changed
    // Not registered, and the list should show the file as it is: it could not be changed, or
    // another program changed it meanwhile.
    Failed,
};

struct RegistrationResult {
    RegistrationOutcome outcome = RegistrationOutcome::NotRegistered;
    SlotIndex slot = 0;  // where the name was written, for Registered
};

// Refuses, before anything is copied, a name that cannot be stored and a settings file that
// cannot be saved; the user is told why. The slot is chosen again when the name is written,
// on the file as it is then: another program may have changed it during the question or the
// copy. An archive in the "Data Files" folder beside iniPath, or in one of alsoInPlace (where
// the other application finds archives too), is not offered for copying.
RegistrationResult registerArchive(std::string_view archivePath, std::string_view iniPath,
                                   UserPrompts& prompts, CopyProgressView& progress,
                                   const std::vector<std::string>& alsoInPlace = {});

}  // namespace varnock
