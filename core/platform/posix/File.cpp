// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <utility>

namespace varnock::platform {
namespace {

constexpr std::int64_t kNanoseconds = 1'000'000'000;

std::int64_t nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * kNanoseconds + time.tv_nsec;
}

int fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

// A write beyond the file-size limit is then EFBIG instead of the end of the process.
void reportFileSizeLimitAsError() {
    static const bool ignored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    (void)ignored;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

const bool kReplacesOpenFiles = true;

SysResult<File> File::open(const std::filesystem::path& path, Access access) {
    // Non-blocking, so that a pipe in place of the file cannot hang the program.
    int flags = O_CLOEXEC | O_NONBLOCK | (access == Access::Write ? O_WRONLY : O_RDONLY);
    if (access == Access::Inspect) {
        flags |= O_NOFOLLOW;
    }
    const int opened = ::open(path.c_str(), flags);
    if (opened < 0) {
        return SystemError::last();
    }
    return File(opened);
}

SysResult<std::optional<File>> File::createNew(const std::filesystem::path& path) {
    File file(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (file.m_handle < 0) {
        if (errno == EEXIST) {
            return std::optional<File>();
        }
        return SystemError::last();
    }
    // What was made here is removed again whatever fails, or it would stay for good: a file
    // system without locks never lets the sweep take it.
    const auto discard = [&](SystemError error) -> SysResult<std::optional<File>> {
        ::unlink(path.c_str());
        return error;
    };
    const auto locked = file.tryLock();
    if (!locked) {
        return discard(locked.error());
    }
    // A sweeping Varnock may take the file between its creation and its lock; then it is
    // made anew under another name.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd(file.m_handle), &held) != 0) {
        return discard(SystemError::last());
    }
    if (::stat(path.c_str(), &named) != 0) {
        return errno == ENOENT ? SysResult<std::optional<File>>(std::optional<File>())
                               : discard(SystemError::last());
    }
    if (!sameFile(held, named)) {
        return std::optional<File>();  // the name is another's now
    }
    if (locked.value() == Lock::HeldElsewhere) {
        ::unlink(path.c_str());
        return std::optional<File>();
    }
    return std::optional<File>(std::move(file));
}

void File::close() {
    if (m_handle >= 0) {
        ::close(fd(std::exchange(m_handle, -1)));
    }
}

SysResult<FileInfo> File::info() const {
    struct stat info {};
    if (::fstat(fd(m_handle), &info) != 0) {
        return SystemError::last();
    }
    FileInfo out;
    out.kind = S_ISREG(info.st_mode)   ? FileType::Regular
               : S_ISDIR(info.st_mode) ? FileType::Folder
                                       : FileType::Other;
    out.stamp = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                 static_cast<std::uint64_t>(info.st_size), nanoseconds(info.st_mtim)};
    out.links = info.st_nlink;
    out.readOnly = (info.st_mode & 0222) == 0;
    out.changed = nanoseconds(info.st_ctim);
    return out;
}

SysResult<std::size_t> File::readAt(std::uint64_t offset, char* into, std::size_t size) const {
    for (;;) {
        const ssize_t got = ::pread(fd(m_handle), into, size, static_cast<off_t>(offset));
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            return SystemError::last();
        }
    }
}

SysStatus File::writeAt(std::uint64_t offset, std::string_view bytes) const {
    reportFileSizeLimitAsError();
    while (!bytes.empty()) {
        const ssize_t written =
            ::pwrite(fd(m_handle), bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written == 0 ? SystemError(EIO) : SystemError::last();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
    return kDone;
}

SysStatus File::truncate(std::uint64_t size) const {
    if (::ftruncate(fd(m_handle), static_cast<off_t>(size)) != 0) {
        return SystemError::last();
    }
    return kDone;
}

SysStatus File::reserve(std::uint64_t size) const {
    // Not through posix_fallocate: where the file system cannot reserve, its emulation writes
    // to the file, and reads it through a descriptor opened for writing.
    if (::fallocate(fd(m_handle), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        return SystemError::last();
    }
    return kDone;
}

SysStatus File::flush() const {
    if (::fsync(fd(m_handle)) != 0) {
        return SystemError::last();
    }
    return kDone;
}

SysResult<File::Lock> File::tryLock() const {
    if (::flock(fd(m_handle), LOCK_EX | LOCK_NB) == 0) {
        return Lock::Taken;
    }
    const SystemError error = SystemError::last();
    if (error.is(SystemError::Kind::Locked)) {
        return Lock::HeldElsewhere;
    }
    if (error.is(SystemError::Kind::Unsupported)) {
        return Lock::Unsupported;
    }
    return error;
}

SysResult<bool> File::ownedByUs() const {
    struct stat info {};
    if (::fstat(fd(m_handle), &info) != 0) {
        return SystemError::last();
    }
    return info.st_uid == ::geteuid();
}

SysStatus File::removeIfNamed(const std::filesystem::path& path) const {
    struct stat held {};
    struct stat named {};
    if (::fstat(fd(m_handle), &held) != 0 || ::lstat(path.c_str(), &named) != 0) {
        return SystemError::last();
    }
    if (!sameFile(held, named)) {
        return SystemError(ENOENT);
    }
    if (::unlink(path.c_str()) != 0) {
        return SystemError::last();
    }
    return kDone;
}

}  // namespace varnock::platform
