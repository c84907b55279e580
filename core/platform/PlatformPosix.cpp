// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "PathHelpers.h"
#include "ini/Windows1252.h"
#include "platform/Platform.h"
#include "platform/PlatformCommon.h"
#include "platform/posix/FileMetadata.h"
#include "platform/posix/InPlaceSave.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/TemporaryFile.h"

namespace varnock::platform {
namespace {

namespace fs = std::filesystem;
using namespace posix;

mode_t umaskNow() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
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

// What a save of a settings file is to replace, and whether it may.
struct SaveTarget {
    fs::path path;                   // the file itself, past any symbolic links
    std::optional<struct stat> old;  // nothing for a file still to be created
};

Result<SaveTarget> lookAtTarget(const fs::path& path) {
    auto resolved = resolveLinks(path);
    if (!resolved) {
        return resolved.status();
    }
    SaveTarget target{std::move(resolved).value(), std::nullopt};
    struct stat old {};
    if (::stat(target.path.c_str(), &old) == 0) {
        target.old = old;
    } else if (errno != ENOENT) {
        return failure("Cannot save", target.path, errno);
    }
    if (target.old && !S_ISREG(old.st_mode)) {
        return Status::failure(describeNotRegular("Cannot save", target.path, old.st_mode));
    }
    // A file that no one may write stays as it is, even for a user whom permissions do not
    // bind.
    if (target.old && (old.st_mode & 0222) == 0) {
        return Status::failure(describeFailure("Cannot save", target.path, "it is read-only"));
    }
    if (target.old && ::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
        return failure("Cannot save", target.path, errno);
    }
    return target;
}

bool forbidsNewFiles(int error) {
    return error == EACCES || error == EPERM;
}

// The new file for a save by replacement, made like the old one; nothing when the save must
// go in place instead: the folder forbids new files, the file has other names that a
// replacement would leave behind, or what the file carries cannot be given to a new one.
Result<std::unique_ptr<TemporaryFile>> prepareReplacement(const SaveTarget& target,
                                                          const FolderHandle& folder) {
    if (target.old && target.old->st_nlink > 1) {
        return std::unique_ptr<TemporaryFile>();
    }
    removeLeftovers(folder);
    TemporaryFile::Refusal refusal;
    auto temporary = TemporaryFile::create(target.path, folder, refusal);
    if (!temporary) {
        if (target.old && forbidsNewFiles(refusal.error)) {
            return std::unique_ptr<TemporaryFile>();
        }
        return refusal.status;
    }
    if (!target.old) {
        if (::fchmod(temporary->fd(), 0666 & ~umaskNow()) != 0) {
            return failure("Cannot save", target.path, errno);
        }
        return temporary;
    }
    const auto kept = keepMetadata(target.path, *target.old, temporary->fd());
    if (!kept) {
        return kept.status();
    }
    if (kept.value() == Keeping::NotPossible) {
        return std::unique_ptr<TemporaryFile>();
    }
    return temporary;
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
    if (auto tooLarge = tooLargeForSettings("Cannot read", path, info.st_size)) {
        return Status::failure(*tooLarge);
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
        if (auto tooLarge = tooLargeForSettings("Cannot read", path, content.size)) {
            return Status::failure(*tooLarge);  // it grew while being read
        }
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
    const auto target = lookAtTarget(path);
    if (!target) {
        return target.status();
    }
    // An existing file can always be written in place; a new one needs the folder's leave.
    const fs::path folder = folderOfFile(target.value().path);
    if (!target.value().old &&
        ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        return failure("Cannot save", target.value().path, errno);
    }
    return Status::success();
}

SaveResult replaceFile(const fs::path& path, const FileContent& expected, std::string_view bytes) {
    reportFileSizeLimitAsError();
    if (auto tooLarge = tooLargeForSettings("Cannot save", path, bytes.size())) {
        return {SaveOutcome::Failed, *tooLarge};
    }
    // Held from the check to the rename, so that two Varnock processes saving at once cannot
    // both pass the check: the second finds the file replaced. Released when expected closes.
    if (expected.file && ::flock(expected.file->fd(), LOCK_EX) != 0) {
        return saveFailed(failure("Cannot save", path, errno));
    }
    const auto looked = lookAtTarget(path);
    if (!looked) {
        return saveFailed(looked.status());
    }
    const SaveTarget& target = looked.value();
    const auto folder = FolderHandle::open(folderOfFile(target.path));
    if (!folder) {
        return saveFailed(folder.status());
    }
    const auto prepared = prepareReplacement(target, folder.value());
    if (!prepared) {
        return saveFailed(prepared.status());
    }
    TemporaryFile* temporary = prepared.value().get();
    if (!temporary) {
        return saveInPlace(target.path, expected, bytes);
    }
    if (!writeAll(temporary->fd(), bytes, 0) || !temporary->flush()) {
        return saveFailed(failure("Cannot save", target.path, errno));
    }
    // Checked after the slow part, and once more by the swap itself.
    if (auto refused = refusalUnlessAsRead(target.path, expected)) {
        return *refused;
    }
    const auto expectedStamp = expected.exists ? std::optional(expected.stamp) : std::nullopt;
    std::string reason;
    switch (temporary->swapIn(expectedStamp, reason)) {
        case TemporaryFile::Swap::Swapped:
            break;
        case TemporaryFile::Swap::NotAsRead:
            return {SaveOutcome::FileChanged, {}};
        case TemporaryFile::Swap::Failed:
            return {SaveOutcome::Failed, reason};
    }
    if (!folder.value().flush()) {
        const std::string reason =
            describe("Cannot flush the folder", folderOfFile(target.path), errno);
        return {SaveOutcome::Failed,
                reason + (temporary->undo() ? " The settings file was not changed."
                                            : " The settings file was saved, but the change "
                                              "may not survive a power cut.")};
    }
    return {SaveOutcome::Saved, {}};
}

CopyResult copyFile(const fs::path& source, const fs::path& destination,
                    const CopyProgress& progress) {
    reportFileSizeLimitAsError();
    const auto failed = [](std::string_view what, const fs::path& path, int error) {
        return CopyResult{CopyOutcome::Failed, describe(what, path, error)};
    };
    Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!in.valid() || ::fstat(in.get(), &info) != 0) {
        return failed("Cannot read", source, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return {CopyOutcome::Failed, describeNotRegular("Cannot read", source, info.st_mode)};
    }
    const fs::path folderPath = folderOfFile(destination);
    const auto folder = FolderHandle::open(folderPath);
    if (!folder) {
        return {CopyOutcome::Failed, folder.reason()};
    }
    removeLeftovers(folder.value());
    TemporaryFile::Refusal refusal;
    const auto out = TemporaryFile::create(destination, folder.value(), refusal);
    if (!out) {
        return {CopyOutcome::Failed, refusal.status.reason()};
    }
    bool inKernel = true;
    std::unique_ptr<char[]> buffer;
    const auto result =
        copyInChunks(static_cast<std::uint64_t>(info.st_size), progress,
                     [&](std::uint64_t copied) -> Result<std::uint64_t> {
                         for (;;) {
                             const ssize_t moved = copyChunk(
                                 in.get(), out->fd(), static_cast<off_t>(copied), inKernel, buffer);
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
    // The copy is the same archive: same date, so that tools that compare dates see no change.
    const std::array<struct timespec, 2> accessedAndModified{info.st_atim, info.st_mtim};
    std::string reason;
    if (::fchmod(out->fd(), info.st_mode & 0777 & ~umaskNow()) != 0 ||
        ::futimens(out->fd(), accessedAndModified.data()) != 0 || !out->flush()) {
        return failed("Cannot copy to", destination, errno);
    }
    if (!out->replaceTarget(reason)) {
        return {CopyOutcome::Failed, reason};
    }
    if (!folder.value().flush()) {
        // A copy that may not survive a power cut is taken back, as if it had failed.
        const std::string reason = describe("Cannot flush the folder", folderPath, errno);
        return {CopyOutcome::Failed,
                reason +
                    (out->undo() ? "" : " The copy is in place, but may not survive a power cut.")};
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
