// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "PathHelpers.h"
#include "ini/Windows1252.h"
#include "platform/Platform.h"
#include "platform/PlatformCommon.h"

namespace varnock::platform {
namespace {

namespace fs = std::filesystem;

std::string describe(std::string_view what, const fs::path& path, int error) {
    return describeFailure(what, path, std::strerror(error));
}

Status failure(std::string_view what, const fs::path& path, int error) {
    return Status::failure(describe(what, path, error));
}

// Why a file of this type cannot be read as a whole: a folder, or a pipe, device or socket.
std::string describeNotRegular(std::string_view what, const fs::path& path, mode_t mode) {
    if (S_ISDIR(mode)) {
        return describe(what, path, EISDIR);
    }
    return describeFailure(what, path, "it is not a regular file");
}

// Closes on every return path; the close of a written file is checked separately.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    bool closeChecked() { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

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

mode_t umaskNow() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

void flushFolder(const fs::path& folder) {
    // Makes the rename durable; a file system that cannot flush folders has nothing to flush.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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

// Whether the file open as fd holds exactly expected, read anew from its start.
Result<bool> holdsBytes(int fd, std::string_view expected, const fs::path& path) {
    constexpr std::size_t kChunk = 1u << 16;
    auto buffer = std::make_unique_for_overwrite<char[]>(kChunk);
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(fd, buffer.get(), kChunk, offset);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return failure("Cannot read", path, errno);
        }
        const auto at = static_cast<std::size_t>(offset);
        if (got == 0) {
            return at == expected.size();
        }
        const std::string_view chunk(buffer.get(), static_cast<std::size_t>(got));
        if (expected.substr(at, chunk.size()) != chunk) {
            return false;
        }
        offset += got;
    }
}

// A new, hidden file beside target that takes target's place on commit and is removed
// otherwise.
class TemporarySibling {
public:
    explicit TemporarySibling(const fs::path& target) : m_target(target) {
        fs::path name = ".";
        name += target.filename();
        name += ".XXXXXX";
        m_path = (folderOfFile(target) / name).string();
        m_fd = ::mkstemp(m_path.data());
        m_error = errno;
    }
    TemporarySibling(const TemporarySibling&) = delete;
    TemporarySibling& operator=(const TemporarySibling&) = delete;
    ~TemporarySibling() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        if (m_fd >= 0 || m_closed) {
            ::unlink(m_path.c_str());
        }
    }

    bool created() const { return m_fd >= 0; }
    int error() const { return m_error; }
    int fd() const { return m_fd; }

    // Flushes and closes the file, ready to be moved over the target; errno tells why not.
    bool flush() {
        if (::fsync(m_fd) != 0) {
            return false;
        }
        m_closed = true;
        return ::close(std::exchange(m_fd, -1)) == 0;
    }
    // Renames the flushed file over the target; errno tells why when it fails.
    bool moveOver() {
        if (::rename(m_path.c_str(), m_target.c_str()) != 0) {
            return false;
        }
        m_closed = false;
        flushFolder(folderOfFile(m_target));
        return true;
    }
    bool commit() { return flush() && moveOver(); }

    enum class Swap { Swapped, NotAsRead, Failed };
    // Puts the flushed file in the target's place only while the target is still the file
    // stamped expected (or, for nothing, still missing), in one step that gives no other
    // program a moment to slip a change in between: the two are exchanged, the file taken
    // out is checked, and exchanged back when it is not the one expected. errno tells why
    // on Failed. Where the file system cannot exchange, a plain rename does.
    Swap swapIn(const std::optional<FileStamp>& expected) {
#if defined(RENAME_EXCHANGE) && defined(RENAME_NOREPLACE)
        const unsigned flags = expected ? RENAME_EXCHANGE : RENAME_NOREPLACE;
        if (::renameat2(AT_FDCWD, m_path.c_str(), AT_FDCWD, m_target.c_str(), flags) != 0) {
            if (errno == EEXIST) {
                return Swap::NotAsRead;  // a file was created meanwhile
            }
            if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
                return Swap::Failed;
            }
            return moveOver() ? Swap::Swapped : Swap::Failed;
        }
        // The temporary name now holds what stood at the target, and is removed either way.
        struct stat out {};
        if (expected && (::stat(m_path.c_str(), &out) != 0 || stampOf(out) != *expected)) {
            ::renameat2(AT_FDCWD, m_path.c_str(), AT_FDCWD, m_target.c_str(), RENAME_EXCHANGE);
            return Swap::NotAsRead;
        }
        flushFolder(folderOfFile(m_target));
        return Swap::Swapped;
#else
        return moveOver() ? Swap::Swapped : Swap::Failed;
#endif
    }

private:
    fs::path m_target;
    std::string m_path;
    int m_fd = -1;
    int m_error = 0;
    bool m_closed = false;  // closed but not yet renamed: still to be removed
};

// The file a link points to is the one to replace; the link itself must survive.
fs::path resolveLinks(const fs::path& path) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        const fs::path target = fs::canonical(path, ec);
        if (!ec) {
            return target;
        }
    }
    return path;
}

Status rewriteInPlace(const fs::path& target, std::string_view bytes) {
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return failure("Cannot write", target, errno);
    }
    // Reserving the new size first means a full disk fails before any old byte is overwritten.
    const auto size = static_cast<off_t>(bytes.size());
    const int reserved = ::posix_fallocate(fd.get(), 0, size);
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
        return failure("Cannot write", target, reserved);
    }
    if (!writeAll(fd.get(), bytes, 0) || ::ftruncate(fd.get(), size) != 0 ||
        ::fsync(fd.get()) != 0 || !fd.closeChecked()) {
        return failure("Cannot write", target, errno);
    }
    return Status::success();
}

// How a save of a settings file goes: through a new file beside it, or in place where the
// folder does not allow one.
struct SavePlan {
    fs::path target;
    std::optional<struct stat> old;               // nothing for a file still to be created
    std::unique_ptr<TemporarySibling> temporary;  // null: rewrite in place
};

enum class Plan { Prepare, DecideOnly };

// With DecideOnly, the folder's permissions stand in for creating the new file, so that a
// check leaves no trace.
Result<SavePlan> planSave(const fs::path& path, Plan how = Plan::Prepare) {
    SavePlan plan{resolveLinks(path), std::nullopt, nullptr};
    struct stat old {};
    if (::stat(plan.target.c_str(), &old) == 0) {
        plan.old = old;
    }
    // A file its owner made read-only is not to be changed, though the folder would allow it.
    if (plan.old && ::faccessat(AT_FDCWD, plan.target.c_str(), W_OK, AT_EACCESS) != 0) {
        return failure("Cannot save", plan.target, errno);
    }
    int error = 0;
    if (how == Plan::DecideOnly) {
        const fs::path folder = folderOfFile(plan.target);
        error = ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
    } else {
        plan.temporary = std::make_unique<TemporarySibling>(plan.target);
        error = plan.temporary->created() ? 0 : plan.temporary->error();
    }
    if (error != 0) {
        if (!plan.old || (error != EACCES && error != EPERM)) {
            return failure("Cannot save", plan.target, error);
        }
        plan.temporary.reset();
    }
    return plan;
}

// Moves up to one chunk from in to out, whose next byte goes at offset; 0 at the end of in,
// -1 with errno on failure.
ssize_t copyChunk(int in, int out, off_t offset, bool& inKernel, std::unique_ptr<char[]>& buffer) {
#ifdef __linux__
    if (inKernel) {
        const ssize_t moved = ::copy_file_range(in, nullptr, out, nullptr, kCopyChunk, 0);
        if (moved >= 0 || (errno != EXDEV && errno != EINVAL && errno != ENOSYS &&
                           errno != EOPNOTSUPP && errno != EPERM)) {
            return moved;
        }
        inKernel = false;  // this pair of file systems needs the plain way
    }
#else
    inKernel = false;
#endif
    if (!buffer) {
        buffer = std::make_unique_for_overwrite<char[]>(kCopyChunk);
    }
    const ssize_t got = ::read(in, buffer.get(), kCopyChunk);
    if (got <= 0) {
        return got;
    }
    // Once on this path the copy stays on it, so writing by offset is all that is needed.
    return writeAll(out, {buffer.get(), static_cast<std::size_t>(got)}, offset) ? got : -1;
}

}  // namespace

class OpenFile {
public:
    explicit OpenFile(int fd) : m_fd(fd) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { ::close(m_fd); }
    int fd() const { return m_fd; }

private:
    int m_fd;
};

void OpenFileCloser::operator()(OpenFile* file) const {
    delete file;
}

Result<FileContent> readFile(const fs::path& path) {
    // Non-blocking, so that a pipe in place of the file cannot hang the program.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT) {
            return FileContent{};
        }
        return failure("Cannot read", path, errno);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return failure("Cannot read", path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return Status::failure(describeNotRegular("Cannot read", path, info.st_mode));
    }
    auto content = FileContent::forReading(static_cast<std::size_t>(info.st_size));
    for (;;) {
        const std::size_t room = content.makeRoom();
        const ssize_t got = ::read(fd.get(), content.data.get() + content.size, room);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return failure("Cannot read", path, errno);
        }
        if (got == 0) {
            break;
        }
        content.size += static_cast<std::size_t>(got);
    }
    struct stat after {};
    if (::fstat(fd.get(), &after) != 0) {
        return failure("Cannot read", path, errno);
    }
    content.stamp = stampOf(after);
    content.settled = content.stamp == stampOf(info) && content.size == content.stamp.size;
    // Kept open, so that a later save can check the very file it read without opening it again.
    content.file.reset(new OpenFile(fd.release()));
    return content;
}

Result<bool> stillAsRead(const fs::path& path, const FileContent& content) {
    if (content.exists && content.file) {
        const auto same = holdsBytes(content.file->fd(), content.text(), path);
        if (!same || !same.value()) {
            return same;
        }
    }
    // Looked at last, so that little time passes between this look and what follows it.
    struct stat now {};
    if (::stat(path.c_str(), &now) != 0) {
        if (errno == ENOENT) {
            return !content.exists;
        }
        return failure("Cannot read", path, errno);
    }
    return content.exists && content.file && stampOf(now) == content.stamp;
}

Status checkSaveable(const fs::path& path) {
    const auto plan = planSave(path, Plan::DecideOnly);
    return plan ? Status::success() : plan.status();
}

SaveResult replaceFile(const fs::path& path, const FileContent& expected, std::string_view bytes) {
    // Held from the check to the rename, so that two Varnock processes saving at once cannot
    // both pass the check: the second finds the file replaced. Released when expected closes.
    if (expected.file) {
        ::flock(expected.file->fd(), LOCK_EX);
    }
    auto plan = planSave(path);
    if (!plan) {
        return saveFailed(plan.status());
    }
    const SavePlan& save = plan.value();
    if (!save.temporary) {
        if (auto refused = refusalUnlessAsRead(save.target, expected)) {
            return *refused;
        }
        const Status written = rewriteInPlace(save.target, bytes);
        return written ? SaveResult{SaveOutcome::Saved, {}} : saveFailed(written);
    }
    const auto& old = save.old;
    const mode_t mode = old ? (old->st_mode & 07777) : (0666 & ~umaskNow());
    if (old && (old->st_uid != ::geteuid() || old->st_gid != ::getegid())) {
        // Only possible for a privileged user; keeps the owner the file had.
        [[maybe_unused]] const int ignored =
            ::fchown(save.temporary->fd(), old->st_uid, old->st_gid);
    }
    if (!writeAll(save.temporary->fd(), bytes, 0) || ::fchmod(save.temporary->fd(), mode) != 0 ||
        !save.temporary->flush()) {
        return saveFailed(failure("Cannot save", save.target, errno));
    }
    // Checked after the slow part, and once more by the swap itself.
    if (auto refused = refusalUnlessAsRead(save.target, expected)) {
        return *refused;
    }
    const auto expectedStamp = expected.exists ? std::optional(expected.stamp) : std::nullopt;
    switch (save.temporary->swapIn(expectedStamp)) {
        case TemporarySibling::Swap::Swapped:
            return {SaveOutcome::Saved, {}};
        case TemporarySibling::Swap::NotAsRead:
            return {SaveOutcome::FileChanged, {}};
        case TemporarySibling::Swap::Failed:
            break;
    }
    return saveFailed(failure("Cannot save", save.target, errno));
}

CopyResult copyFile(const fs::path& source, const fs::path& destination,
                    const CopyProgress& progress) {
    const auto failed = [](std::string_view what, const fs::path& path, int error) {
        return CopyResult{CopyOutcome::Failed, describe(what, path, error)};
    };
    Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (in.get() < 0 || ::fstat(in.get(), &info) != 0) {
        return failed("Cannot read", source, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return {CopyOutcome::Failed, describeNotRegular("Cannot read", source, info.st_mode)};
    }
    TemporarySibling out(destination);
    if (!out.created()) {
        return failed("Cannot create a file in", folderOfFile(destination), out.error());
    }
    bool inKernel = true;
    std::unique_ptr<char[]> buffer;
    const auto result =
        copyInChunks(static_cast<std::uint64_t>(info.st_size), progress,
                     [&](std::uint64_t copied) -> Result<std::uint64_t> {
                         for (;;) {
                             const ssize_t moved = copyChunk(
                                 in.get(), out.fd(), static_cast<off_t>(copied), inKernel, buffer);
                             if (moved >= 0) {
                                 return static_cast<std::uint64_t>(moved);
                             }
                             if (errno != EINTR) {
                                 return failure("Cannot copy to", destination, errno);
                             }
                         }
                     });
    if (result.outcome != CopyOutcome::Copied) {
        return result;
    }
    if (::fchmod(out.fd(), info.st_mode & 0777 & ~umaskNow()) != 0 || !out.commit()) {
        return failed("Cannot copy to", destination, errno);
    }
    return {CopyOutcome::Copied, {}};
}

std::optional<std::string> toCodePage(std::string_view utf8) {
    return utf8ToWindows1252(utf8);
}

std::string fromCodePage(std::string_view bytes) {
    return windows1252ToUtf8(bytes);
}

}  // namespace varnock::platform
