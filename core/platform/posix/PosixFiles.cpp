// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/PosixFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/PlatformCommon.h"

namespace varnock::platform::posix {

namespace fs = std::filesystem;

std::string describe(std::string_view what, const fs::path& path, int error) {
    return describeFailure(what, path, std::strerror(error));
}

Status failure(std::string_view what, const fs::path& path, int error) {
    return Status::failure(describe(what, path, error));
}

std::string describeNotRegular(std::string_view what, const fs::path& path, mode_t mode) {
    if (S_ISDIR(mode)) {
        return describe(what, path, EISDIR);
    }
    return describeFailure(what, path, "it is not a regular file");
}

void Descriptor::reset(int fd) {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = fd;
}

bool writeAll(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

fs::path folderOfFile(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

FileStamp stampOf(const struct stat& info) {
    constexpr std::int64_t kNanoseconds = 1'000'000'000;
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNanoseconds + info.st_mtim.tv_nsec};
}

Result<FolderHandle> FolderHandle::open(const fs::path& folder) {
    FolderHandle handle;
    handle.m_fd.reset(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!handle.m_fd.valid()) {
        return failure("Cannot open the folder", folder, errno);
    }
    return handle;
}

bool FolderHandle::flush() const {
    return ::fsync(m_fd.get()) == 0 || errno == EINVAL || errno == EOPNOTSUPP;
}

Result<fs::path> resolveLinks(const fs::path& path) {
    // As many links as the kernel follows before it gives up with ELOOP.
    constexpr int kMostLinks = 40;
    fs::path at = path;
    for (int followed = 0; followed <= kMostLinks; ++followed) {
        struct stat info {};
        if (::lstat(at.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                return at;  // nothing here yet: the file is to be created under this name
            }
            return failure("Cannot read", at, errno);
        }
        if (!S_ISLNK(info.st_mode)) {
            return at;
        }
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 256) + 1,
                           '\0');
        const ssize_t length = ::readlink(at.c_str(), target.data(), target.size());
        if (length < 0) {
            return failure("Cannot read the link", at, errno);
        }
        target.resize(static_cast<std::size_t>(length));
        // Not normalised: ".." after a linked folder means the link target's parent.
        at = folderOfFile(at) / target;
    }
    return failure("Cannot read", path, ELOOP);
}

void reportFileSizeLimitAsError() {
#ifdef SIGXFSZ
    static const bool ignored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    (void)ignored;
#endif
}

}  // namespace varnock::platform::posix
