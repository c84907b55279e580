// SPDX-License-Identifier: GPL-3.0-or-later
// The small tools every POSIX file operation of the engine is made of.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "Status.h"
#include "platform/Platform.h"

namespace varnock::platform::posix {

// Cannot read "/x/app.ini": Permission denied.
std::string describe(std::string_view what, const std::filesystem::path& path, int error);
Status failure(std::string_view what, const std::filesystem::path& path, int error);
// Why a file of this type cannot be read or saved as a whole: a folder, or a pipe, device or
// socket.
std::string describeNotRegular(std::string_view what, const std::filesystem::path& path,
                               mode_t mode);

// Closes on every return path.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~Descriptor() { reset(); }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release() { return std::exchange(m_fd, -1); }
    void reset(int fd = -1);

private:
    int m_fd;
};

// Writes all of bytes at offset; errno tells why not (EIO for a write that moved nothing).
bool writeAll(int fd, std::string_view bytes, off_t offset);

std::filesystem::path folderOfFile(const std::filesystem::path& file);
FileStamp stampOf(const struct stat& info);

// The folder a save or copy renames into, opened before anything is changed so that the
// rename can be made durable afterwards without a new way to fail.
class FolderHandle {
public:
    static Result<FolderHandle> open(const std::filesystem::path& folder);
    // Flushes the folder's entries; a file system that cannot flush folders has nothing to
    // flush. errno tells why on failure.
    bool flush() const;
    int fd() const { return m_fd.get(); }

private:
    Descriptor m_fd;
};

// The path a save must write: path itself, or the file its chain of symbolic links ends at,
// which may not exist yet (a dangling link). The link itself is never to be replaced.
Result<std::filesystem::path> resolveLinks(const std::filesystem::path& path);

// Makes the process report a write beyond the file-size limit as EFBIG instead of being
// ended by SIGXFSZ.
void reportFileSizeLimitAsError();

}  // namespace varnock::platform::posix
