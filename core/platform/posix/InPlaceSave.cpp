// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/InPlaceSave.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "PathHelpers.h"
#include "platform/PlatformCommon.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/TemporaryFile.h"

namespace varnock::platform::posix {
namespace {

namespace fs = std::filesystem;

const std::string kUnchanged = " The settings file was not changed.";

std::uint64_t fingerprint(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return hash;
}

// Fixed width for the fingerprint, so that it can be found in a name.
std::string hex(std::uint64_t value, int width = 0) {
    char text[17];
    std::snprintf(text, sizeof text, "%0*" PRIx64, width, value);
    return text;
}

constexpr int kFingerprintDigits = 16;

Result<fs::path> cacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    fs::path base;
    if (cache != nullptr && fs::path(cache).is_absolute()) {
        base = cache;
    } else if (home != nullptr && *home != '\0') {
        base = fs::path(home) / ".cache";
    } else {
        return Status::failure(
            "Cannot keep a copy of the settings file's old bytes: there is "
            "no cache folder (HOME is not set).");
    }
    std::error_code ec;
    fs::create_directories(base, ec);
    const fs::path folder = base / "varnock";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return failure("Cannot create the folder", folder, errno);
    }
    return folder;
}

// The copy of the old bytes: "<device>-<inode>-<fingerprint of the new bytes>-<name>", so
// that a leftover can be matched to its file and to the save that made it.
class Backup {
public:
    static Result<std::unique_ptr<Backup>> keep(const fs::path& target, const FileContent& expected,
                                                std::string_view bytes);
    ~Backup() {
        if (!m_keptForUser) {
            ::unlink(m_path.c_str());  // a copy that stays is recognised as done next time
        }
    }
    void keepForUser() { m_keptForUser = true; }
    const fs::path& path() const { return m_path; }

private:
    Backup(fs::path path, std::unique_ptr<TemporaryFile> file)
        : m_path(std::move(path)), m_file(std::move(file)) {}
    fs::path m_path;
    std::unique_ptr<TemporaryFile> m_file;  // open, so locked, while the save runs
    bool m_keptForUser = false;
};

std::string prefixFor(const FileStamp& stamp) {
    return hex(stamp.device) + "-" + hex(stamp.file) + "-";
}

// A copy is stale when its save finished (the file holds what it wrote) or changed nothing
// (the file holds the copy's bytes); in use while a running save holds it locked.
enum class CopyState { Stale, InUse, Unfinished };

CopyState stateOf(int folder, const std::string& name, std::string_view prefix,
                  const FileContent& expected) {
    Descriptor fd(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return CopyState::Unfinished;
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        return CopyState::InUse;
    }
    if (name.compare(prefix.size(), kFingerprintDigits,
                     hex(fingerprint(expected.text()), kFingerprintDigits)) == 0) {
        return CopyState::Stale;
    }
    std::string copy(expected.size, '\0');
    const bool same =
        static_cast<std::uint64_t>(info.st_size) == expected.size &&
        ::pread(fd.get(), copy.data(), copy.size(), 0) == static_cast<ssize_t>(copy.size()) &&
        copy == expected.text();
    return same ? CopyState::Stale : CopyState::Unfinished;
}

// Removes stale copies of target's old bytes; a copy that may hold the only good version
// of the file is returned, to be named to the user.
Result<std::optional<fs::path>> sweepCopies(const fs::path& folder, const FileContent& expected) {
    const std::string prefix = prefixFor(expected.stamp);
    const int listing = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (entries == nullptr) {
        const int error = errno;
        if (listing >= 0) {
            ::close(listing);
        }
        return failure("Cannot read the folder", folder, error);
    }
    std::optional<fs::path> unfinished;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (!name.starts_with(prefix)) {
            continue;
        }
        switch (stateOf(listing, name, prefix, expected)) {
            case CopyState::Stale:
                ::unlinkat(listing, name.c_str(), 0);
                break;
            case CopyState::InUse:
                break;
            case CopyState::Unfinished:
                unfinished = folder / name;
                break;
        }
    }
    ::closedir(entries);
    return unfinished;
}

Result<std::unique_ptr<Backup>> Backup::keep(const fs::path& target, const FileContent& expected,
                                             std::string_view bytes) {
    const auto folder = cacheFolder();
    if (!folder) {
        return folder.status();
    }
    const auto unfinished = sweepCopies(folder.value(), expected);
    if (!unfinished) {
        return unfinished.status();
    }
    if (unfinished.value()) {
        return Status::failure(
            "Cannot save \"" + utf8FromPath(target) +
            "\": an earlier save that did not finish kept the file's old bytes in \"" +
            utf8FromPath(*unfinished.value()) +
            "\". Compare the two, keep what is right, then remove that copy.");
    }
    std::string name =
        prefixFor(expected.stamp) + hex(fingerprint(bytes), kFingerprintDigits) + "-";
    name += target.filename().string().substr(0, 255 - name.size());
    const fs::path path = folder.value() / name;
    const auto failed = [&](int error) {
        return failure("Cannot keep a copy of the settings file in", path, error);
    };
    // Written under a temporary name and renamed when whole, so that a copy under its own
    // name always holds all of the old bytes.
    const auto folderHandle = FolderHandle::open(folder.value());
    if (!folderHandle) {
        return folderHandle.status();
    }
    removeLeftovers(folderHandle.value());
    TemporaryFile::Refusal refusal;
    auto file = TemporaryFile::create(path, folderHandle.value(), refusal);
    if (!file) {
        return refusal.status;
    }
    std::string reason;
    if (!writeAll(file->fd(), expected.text(), 0) || !file->flush()) {
        return failed(errno);
    }
    if (!file->replaceTarget(reason)) {
        return Status::failure(reason);
    }
    auto backup = std::unique_ptr<Backup>(new Backup(path, std::move(file)));
    if (!folderHandle.value().flush()) {
        return failed(errno);
    }
    return backup;
}

bool writeFrom(int fd, std::string_view bytes, std::size_t from) {
    return writeAll(fd, bytes.substr(from), static_cast<off_t>(from)) &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

}  // namespace

SaveResult saveInPlace(const fs::path& target, const FileContent& expected,
                       std::string_view bytes) {
    const std::string_view old = expected.text();
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        return saveFailed(failure("Cannot save", target, errno));
    }
    const auto firstChange = std::mismatch(old.begin(), old.end(), bytes.begin(), bytes.end());
    const auto from = static_cast<std::size_t>(firstChange.first - old.begin());
    if (from == old.size() && from == bytes.size()) {
        return refusalUnlessAsRead(target, expected).value_or(SaveResult{SaveOutcome::Saved, {}});
    }
    auto backup = Backup::keep(target, expected, bytes);
    if (!backup) {
        return {SaveOutcome::Failed, backup.reason() + kUnchanged};
    }
    // Checked before the reservation, which itself stamps the file as modified.
    if (auto refused = refusalUnlessAsRead(target, expected)) {
        return *refused;
    }
    // Space for the growth is taken first, so that a full disk stops the save before any old
    // byte is overwritten. Not through posix_fallocate: where the file system cannot reserve,
    // its emulation writes to the file, and reads it through a descriptor opened for writing.
    if (bytes.size() > old.size() &&
        ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, static_cast<off_t>(old.size()),
                    static_cast<off_t>(bytes.size() - old.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        return {SaveOutcome::Failed, describe("Cannot save", target, errno) + kUnchanged};
    }
    if (!writeFrom(fd.get(), bytes, from)) {
        const std::string reason = describe("Cannot save", target, errno);
        if (writeFrom(fd.get(), old, from)) {
            return {SaveOutcome::Failed, reason + kUnchanged};
        }
        backup.value()->keepForUser();
        return {SaveOutcome::Failed, reason + " Its old bytes are kept in \"" +
                                         utf8FromPath(backup.value()->path()) + "\"."};
    }
    return {SaveOutcome::Saved, {}};
}

}  // namespace varnock::platform::posix
