// SPDX-License-Identifier: GPL-3.0-or-later
// The lock a save holds on the file it replaces, from its check to the exchange, so that two
// Varnock processes saving at once cannot both pass the check: the second finds the file
// replaced.
#pragma once

#include <filesystem>
#include <optional>

#include "FileRead.h"
#include "Status.h"
#include "platform/File.h"

namespace varnock::platform {

class SaveLock {
public:
    // Waits a few seconds at most for a lock that another process holds, then fails with a
    // reason. Nothing to lock for a file that does not exist.
    static Result<SaveLock> take(const std::filesystem::path& target);

    // Whether target is still the file expected found, with the same identity, size, time and
    // bytes (or still missing, when it was).
    Result<bool> stillAsRead(const FileRead& expected) const;

    // Lets go of the file before the new one takes its place, where the system cannot
    // replace an open file; the exchange's own check then stands alone.
    void beforeReplacing() {
        if (!kReplacesOpenFiles) {
            m_file.reset();
        }
    }

private:
    SaveLock(std::filesystem::path target, std::optional<File> file)
        : m_target(std::move(target)), m_file(std::move(file)) {}
    std::filesystem::path m_target;
    std::optional<File> m_file;
};

}  // namespace varnock::platform
