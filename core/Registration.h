// Varnock: keeps the archive list of an INI settings file.
// Registering an archive: its file name goes into the first free slot of the settings file,
// after the archive has been copied into the "Data Files" folder if the user wants that.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ArchiveSlotTable.h"
#include "CopyProgressView.h"
#include "Status.h"
#include "UserPrompts.h"

namespace varnock {

// A slot whose value has this many characters or fewer is free.
inline constexpr std::size_t kFreeSlotMaxLength = 4;

struct FreeSlot {
    enum class Kind { Found, AlreadyRegistered, Full };
    Kind kind = Kind::Full;
    SlotIndex slot = 0;  // for Found
};

// Scans slots 0 to kMaxSlot in order: a slot holding archiveName (exactly) ends the scan as
// AlreadyRegistered, a free slot as Found. Slots after the first free one are not compared.
// Fails only when the settings file exists and cannot be read.
Result<FreeSlot> findFreeSlot(const ArchiveSlotTable& table, std::string_view archiveName);

// Why name cannot be registered so that it reads back the same; nothing when it can.
std::optional<std::string> whyUnregistrable(std::string_view name);

enum class RegistrationOutcome {
    Registered,
    NotRegistered,  // nothing was changed
    Failed,         // the settings file could not be changed; the list should show it as it is
};

struct RegistrationResult {
    RegistrationOutcome outcome = RegistrationOutcome::NotRegistered;
    SlotIndex slot = 0;  // where the name was written, for Registered
};

// Refuses, before anything is copied, a name that cannot be stored and a settings file that
// cannot be saved; the user is told why.
RegistrationResult registerArchive(std::string_view archivePath, std::string_view iniPath,
                                   UserPrompts& prompts, CopyProgressView& progress);

}  // namespace varnock
