// SPDX-License-Identifier: GPL-3.0-or-later
// An open file of the system and the calls made on it; one implementation per system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "FileRead.h"
#include "platform/SystemError.h"

namespace varnock::platform {

enum class FileType { Regular, Folder, Other };

// Whether a file may be replaced while another handle holds it open: not on Windows.
extern const bool kReplacesOpenFiles;

struct FileInfo {
    FileType kind = FileType::Other;
    FileStamp stamp;
    std::uint64_t links = 1;   // how many names the file has
    bool readOnly = false;     // no one may write it: no write bit, or the read-only attribute
    std::int64_t changed = 0;  // when its bytes or metadata last changed (nanoseconds since 1970)
};

class File {
public:
    enum class Access {
        Read,     // never blocks on a pipe; follows links
        Inspect,  // as Read, but a link is opened as itself, to be looked at and removed
        Write,    // an existing file, written in place
    };
    static SysResult<File> open(const std::filesystem::path& path, Access access);
    // A new file under a name that nothing had, locked (see tryLock) for as long as it is
    // open; nothing when the name is taken, or was taken away before the lock held. Whatever
    // fails after the file was made, the file is removed again.
    static SysResult<std::optional<File>> createNew(const std::filesystem::path& path);

    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { close(); }

    SysResult<FileInfo> info() const;
    // Up to size bytes at offset; 0 at the end of the file.
    SysResult<std::size_t> readAt(std::uint64_t offset, char* into, std::size_t size) const;
    SysStatus writeAt(std::uint64_t offset, std::string_view bytes) const;
    SysStatus truncate(std::uint64_t size) const;
    // Disk space for size bytes, taken before they are written, without changing the file's
    // size; success where the file system cannot reserve.
    SysStatus reserve(std::uint64_t size) const;
    SysStatus flush() const;
    // An exclusive lock that every Varnock takes the same way, without waiting, released when
    // the file is closed. Where the file system has no locks (some network and FUSE file
    // systems), it guards nothing and the callers go on without it.
    enum class Lock { Taken, HeldElsewhere, Unsupported };
    SysResult<Lock> tryLock() const;
    // Whether the file was created by this user.
    SysResult<bool> ownedByUs() const;
    // Removes the name path while it still names this very file.
    SysStatus removeIfNamed(const std::filesystem::path& path) const;
    void close();

    std::intptr_t native() const { return m_handle; }

private:
    explicit File(std::intptr_t handle) : m_handle(handle) {}
    std::intptr_t m_handle = -1;
};

}  // namespace varnock::platform
