// SPDX-License-Identifier: GPL-3.0-or-later
// The new file a save or a copy writes beside its target before it takes the target's place.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "FileRead.h"
#include "Status.h"
#include "platform/File.h"
#include "platform/Folder.h"
#include "platform/Placement.h"

namespace varnock::platform {

// A new file in the target's folder, named ".varnock-<target's name>.XXXXXX" so that anyone
// who finds it can tell whose it is, and locked for as long as it is in use so that a later
// Varnock can tell a leftover from a file still being written. Removed unless it took the
// target's place.
class TemporaryFile {
public:
    // The system's error when the folder does not allow the file.
    static SysResult<TemporaryFile> create(const std::filesystem::path& target,
                                           const Folder& folder);
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&&) = delete;
    ~TemporaryFile();

    const File& file() const { return m_file; }
    const std::filesystem::path& path() const { return m_path; }

    // Writes bytes as the whole file and flushes them.
    Status write(std::string_view bytes) const;
    Status flush() const;

    enum class Swap { Swapped, NotAsRead };
    // Puts the file in the target's place only while the target is still the file stamped as
    // expected (or still missing, when it was): where the system exchanges the two in one
    // step, the file taken out is checked and exchanged back when it is not the one expected.
    Result<Swap> swapIn(const FileRead& expected);
    // Takes the target's place, whatever stands there now.
    Status replaceTarget();
    // Puts back what stood at the target before swapIn or replaceTarget, for a change that
    // could not be made durable; false when it cannot.
    bool undo();

private:
    TemporaryFile(std::filesystem::path target, std::filesystem::path path, File file)
        : m_target(std::move(target)), m_path(std::move(path)), m_file(std::move(file)) {}
    SysStatus takeBack();

    std::filesystem::path m_target;
    std::filesystem::path m_path;
    File m_file;
    bool m_placed = false;     // the name no longer holds anything of ours to remove
    bool m_exchanged = false;  // the name holds what stood at the target
};

// Whether name is one that TemporaryFile gives.
bool isTemporaryName(std::string_view name);

}  // namespace varnock::platform
