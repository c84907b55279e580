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
// target's place. Every file Varnock writes (a settings file, a copy of its old bytes, an
// archive) is made as one and put in place by commit.
class TemporaryFile {
public:
    // Sweeps the leftovers of ended Varnocks from folder first. The system's error when the
    // folder does not allow the file.
    static SysResult<TemporaryFile> create(const std::filesystem::path& target,
                                           const Folder& folder);
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&&) = delete;
    ~TemporaryFile();

    const File& file() const { return m_file; }
    const std::filesystem::path& path() const { return m_path; }

    // Writes bytes as the whole file and flushes them.
    Status write(std::string_view bytes) const;

    enum class Swap { Swapped, NotAsRead };
    // What a failure to flush the folder adds to its reason: the change was taken back, or
    // could not be and stands without surviving a power cut for sure.
    struct Afterwards {
        std::string_view takenBack;
        std::string_view standing;
    };
    // The last step of every write: flushes the file, puts it in the target's place and
    // flushes the folder, so that the change survives a power cut. With expected, only while
    // the target is still the file stamped so (or still missing, when it was): where the
    // system exchanges the two in one step, the file taken out is checked and exchanged back
    // when it is not the one expected (NotAsRead). Without, whatever stands there now. When
    // the folder cannot be flushed, the change is taken back where it can be.
    Result<Swap> commit(const Folder& folder, const FileRead* expected, Afterwards afterwards);

private:
    TemporaryFile(std::filesystem::path target, std::filesystem::path path, File file)
        : m_target(std::move(target)), m_path(std::move(path)), m_file(std::move(file)) {}
    Status flush() const;
    Result<Swap> swapIn(const FileRead& expected);
    Status replaceTarget();
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
