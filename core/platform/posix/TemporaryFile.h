// SPDX-License-Identifier: GPL-3.0-or-later
// The new file a save or a copy writes beside its target before it takes the target's place.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "Status.h"
#include "platform/Platform.h"
#include "platform/posix/PosixFiles.h"

namespace varnock::platform::posix {

// A new file in the target's folder, named ".varnock-<target's name>.XXXXXX" so that anyone
// who finds it can tell whose it is, and locked (flock) for as long as it is in use so that
// a later Varnock can tell a leftover from a file still being written. Removed unless it
// took the target's place.
class TemporaryFile {
public:
    // errno-style failure when the folder does not allow the file: EACCES or EPERM tell that
    // the folder forbids new files.
    struct Refusal {
        int error = 0;
        Status status = Status::success();
    };
    static std::unique_ptr<TemporaryFile> create(const std::filesystem::path& target,
                                                 const FolderHandle& folder, Refusal& refusal);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_fd.get(); }

    // Flushes the written bytes; errno tells why not.
    bool flush() const;

    enum class Swap { Swapped, NotAsRead, Failed };
    // Puts the file in the target's place only while the target is still the file stamped
    // expected (or, for nothing, still missing), in one step that gives no other program a
    // moment to slip a change in between: the two are exchanged, the file taken out is
    // checked, and exchanged back when it is not the one expected. Where the file system
    // cannot exchange, a plain rename does. reason tells why on Failed.
    Swap swapIn(const std::optional<FileStamp>& expected, std::string& reason);

    // Takes the target's place, whatever stands there now; reason tells why not.
    bool replaceTarget(std::string& reason);

    // Puts back what stood at the target before swapIn or replaceTarget, for a change that
    // could not be made durable; false when it cannot.
    bool undo();

private:
    TemporaryFile(std::filesystem::path target, std::string path, Descriptor fd);
    bool moveOver();

    std::filesystem::path m_target;
    std::string m_path;
    Descriptor m_fd;
    bool m_placed = false;     // the name no longer holds anything of ours to remove
    bool m_exchanged = false;  // the name holds what stood at the target
};

// Removes the temporary files that Varnock processes which were ended mid-way left in
// folder: those of this user that no process holds locked and that have stood for a moment.
void removeLeftovers(const FolderHandle& folder);

}  // namespace varnock::platform::posix
