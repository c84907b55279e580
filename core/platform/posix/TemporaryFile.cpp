// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/TemporaryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

namespace varnock::platform::posix {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = ".varnock-";
constexpr std::string_view kSuffix = ".XXXXXX";
// A leftover must have stood this long, so that a file that another Varnock is just
// creating, locking or exchanging is never taken for one.
constexpr std::chrono::seconds kLeftoverAge{1};

// The target's name cut to what fits the folder's name limit beside the prefix and suffix,
// at a character boundary.
std::string temporaryName(const fs::path& target, const FolderHandle& folder) {
    long limit = ::fpathconf(folder.fd(), _PC_NAME_MAX);
    if (limit <= 0) {
        limit = 255;
    }
    std::string name = target.filename().string();
    const auto room = static_cast<std::size_t>(limit) - kPrefix.size() - kSuffix.size();
    if (name.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    return std::string(kPrefix) + name + std::string(kSuffix);
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

TemporaryFile::TemporaryFile(fs::path target, std::string path, Descriptor fd)
    : m_target(std::move(target)), m_path(std::move(path)), m_fd(std::move(fd)) {}

std::unique_ptr<TemporaryFile> TemporaryFile::create(const fs::path& target,
                                                     const FolderHandle& folder, Refusal& refusal) {
    const fs::path pattern = folderOfFile(target) / temporaryName(target, folder);
    // A sweeping Varnock may take a file between its creation and its lock, and removes it;
    // then the file is made anew.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string path = pattern.string();
        Descriptor fd(::mkostemp(path.data(), O_CLOEXEC));
        if (!fd.valid()) {
            refusal = {errno, failure("Cannot create a file in", folderOfFile(target), errno)};
            return nullptr;
        }
        struct stat held {};
        struct stat named {};
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && ::fstat(fd.get(), &held) == 0 &&
            ::stat(path.c_str(), &named) == 0 && sameFile(held, named)) {
            return std::unique_ptr<TemporaryFile>(
                new TemporaryFile(target, std::move(path), std::move(fd)));
        }
    }
    refusal = {EAGAIN, failure("Cannot create a file in", folderOfFile(target), EAGAIN)};
    return nullptr;
}

TemporaryFile::~TemporaryFile() {
    if (!m_placed) {
        ::unlink(m_path.c_str());
    }
}

bool TemporaryFile::flush() const {
    return ::fsync(m_fd.get()) == 0;
}

bool TemporaryFile::moveOver() {
    if (::rename(m_path.c_str(), m_target.c_str()) != 0) {
        return false;
    }
    m_placed = true;
    return true;
}

bool TemporaryFile::replaceTarget(std::string& reason) {
#ifdef RENAME_EXCHANGE
    // Exchanged rather than renamed over, so that the file replaced can still be put back.
    if (::renameat2(AT_FDCWD, m_path.c_str(), AT_FDCWD, m_target.c_str(), RENAME_EXCHANGE) == 0) {
        m_exchanged = true;
        return true;
    }
#endif
    if (!moveOver()) {
        reason = describe("Cannot write", m_target, errno);
        return false;
    }
    return true;
}

TemporaryFile::Swap TemporaryFile::swapIn(const std::optional<FileStamp>& expected,
                                          std::string& reason) {
    const auto failed = [&](std::string_view what, const fs::path& path) {
        reason = describe(what, path, errno);
        return Swap::Failed;
    };
#if defined(RENAME_EXCHANGE) && defined(RENAME_NOREPLACE)
    const unsigned flags = expected ? RENAME_EXCHANGE : RENAME_NOREPLACE;
    if (::renameat2(AT_FDCWD, m_path.c_str(), AT_FDCWD, m_target.c_str(), flags) != 0) {
        if (errno == EEXIST) {
            return Swap::NotAsRead;  // a file was created meanwhile
        }
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            return failed("Cannot save", m_target);
        }
        return moveOver() ? Swap::Swapped : failed("Cannot save", m_target);
    }
    if (!expected) {
        m_placed = true;
        return Swap::Swapped;
    }
    // The temporary name now holds what stood at the target; removed once it is checked.
    m_exchanged = true;
    struct stat out {};
    const bool looked = ::stat(m_path.c_str(), &out) == 0;
    const int lookError = errno;
    if (looked && stampOf(out) == *expected) {
        return Swap::Swapped;
    }
    if (!undo()) {
        // Another program's version must not be lost: it stays where it is, named to the user.
        m_placed = true;
        reason = describe("Cannot put back the version another program saved meanwhile, now in",
                          m_path, errno);
        return Swap::Failed;
    }
    if (!looked) {
        reason = describe("Cannot read", m_target, lookError);  // put back: unchanged
        return Swap::Failed;
    }
    return Swap::NotAsRead;
#else
    (void)expected;
    return moveOver() ? Swap::Swapped : failed("Cannot save", m_target);
#endif
}

bool TemporaryFile::undo() {
#ifdef RENAME_EXCHANGE
    if (m_exchanged) {
        if (::renameat2(AT_FDCWD, m_path.c_str(), AT_FDCWD, m_target.c_str(), RENAME_EXCHANGE) !=
            0) {
            return false;
        }
        m_exchanged = false;  // the name holds the new file again, to be removed
        return true;
    }
#endif
    if (m_placed && ::rename(m_target.c_str(), m_path.c_str()) == 0) {
        m_placed = false;
        return true;
    }
    return false;
}

void removeLeftovers(const FolderHandle& folder) {
    // Housekeeping: a leftover that cannot be removed now is tried again by the next save.
    const int listing = ::dup(folder.fd());
    DIR* entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (entries == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return;
    }
    ::rewinddir(entries);
    const auto oldest = std::chrono::system_clock::now() - kLeftoverAge;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(kPrefix) || name.size() < kPrefix.size() + kSuffix.size()) {
            continue;
        }
        Descriptor fd(
            ::openat(folder.fd(), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat held {};
        if (!fd.valid() || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode) ||
            held.st_uid != ::geteuid()) {
            continue;
        }
        const auto changed = std::chrono::system_clock::time_point(
            std::chrono::duration_cast<std::chrono::system_clock::duration>(
                std::chrono::seconds(held.st_ctim.tv_sec) +
                std::chrono::nanoseconds(held.st_ctim.tv_nsec)));
        struct stat named {};
        if (changed > oldest || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 ||
            ::fstatat(folder.fd(), entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !sameFile(held, named)) {
            continue;
        }
        ::unlinkat(folder.fd(), entry->d_name, 0);
    }
    ::closedir(entries);
}

}  // namespace varnock::platform::posix
