// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>

#include "platform/Folder.h"
#include "platform/InPlaceSave.h"
#include "platform/Metadata.h"
#include "platform/ReplaceFile.h"
#include "platform/SaveLock.h"
#include "platform/SaveTarget.h"
#include "platform/TemporaryFile.h"

namespace varnock::platform {
namespace {

namespace fs = std::filesystem;

// The new file for a save by replacement, made like the old one; nothing when the save must
// go in place instead: the folder forbids new files, the file has other names that a
// replacement would leave behind, or what the file carries cannot be given to a new one.
Result<std::optional<TemporaryFile>> prepareReplacement(const SaveTarget& target,
                                                        const Folder& folder) {
    if (target.old && target.old->links > 1) {
        return std::optional<TemporaryFile>();
    }
    auto created = TemporaryFile::create(target.path, folder);
    if (!created) {
        if (target.old && created.error().is(SystemError::Kind::AccessDenied)) {
            return std::optional<TemporaryFile>();
        }
        return failure("Cannot create a file in", folder.path(), created.error());
    }
    const File& file = created.value().file();
    if (!target.old) {
        if (const auto prepared = prepareNewFile(file); !prepared) {
            return failure("Cannot save", target.path, prepared.error());
        }
        return std::optional<TemporaryFile>(std::move(created).value());
    }
    const auto kept = carryMetadata(target.path, file);
    if (!kept) {
        return kept.status();
    }
    if (kept.value() == Carried::NotPossible) {
        return std::optional<TemporaryFile>();
    }
    return std::optional<TemporaryFile>(std::move(created).value());
}

}  // namespace

Result<SaveOutcome> replaceFile(const fs::path& path, const FileRead& expected,
                                std::string_view bytes) {
    if (Status allowed = sizeAllowed("Cannot save", path, bytes.size()); !allowed) {
        return allowed;
    }
    const auto looked = lookAtTarget(path);
    if (!looked) {
        return looked.status();
    }
    const SaveTarget& target = looked.value();
    auto locking = SaveLock::take(target.path);
    if (!locking) {
        return locking.status();
    }
    SaveLock lock = std::move(locking).value();
    const fs::path folderPath = folderOfFile(target.path);
    const auto folder = Folder::open(folderPath);
    if (!folder) {
        return failure("Cannot open the folder", folderPath, folder.error());
    }
    auto prepared = prepareReplacement(target, folder.value());
    if (!prepared) {
        return prepared.status();
    }
    std::optional<TemporaryFile> replacement = std::move(prepared).value();
    if (!replacement) {
        return saveInPlace(target.path, lock, expected, bytes);
    }
    TemporaryFile& temporary = *replacement;
    if (Status written = temporary.write(bytes); !written) {
        return written;
    }
    // Checked after the slow part, and once more by the swap itself.
    const auto same = lock.stillAsRead(expected);
    if (!same) {
        return same.status();
    }
    if (!same.value()) {
        return SaveOutcome::FileChanged;
    }
    lock.beforeReplacing();
    const auto swapped =
        temporary.commit(folder.value(), &expected,
                         {" The settings file was not changed.",
                          " The settings file was saved, but the change may not survive a power "
                          "cut."});
    if (!swapped) {
        return swapped.status();
    }
    return swapped.value() == TemporaryFile::Swap::NotAsRead ? SaveOutcome::FileChanged
                                                             : SaveOutcome::Saved;
}

}  // namespace varnock::platform
