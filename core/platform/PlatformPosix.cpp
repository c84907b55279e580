// Varnock: keeps the archive list of an INI settings file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "PathHelpers.h"
#include "Windows1252.h"
#include "platform/Platform.h"

namespace varnock::platform {
namespace {

namespace fs = std::filesystem;

Status failure(std::string_view what, const fs::path& path, int error) {
    return Status::failure(std::string(what) + " \"" + utf8FromPath(path) +
                           "\": " + std::strerror(error) + ".");
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

bool closeChecked(Descriptor& fd) {
    return ::close(fd.release()) == 0;
}

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

mode_t modeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void flushFolder(const fs::path& folder) {
    // Makes the rename durable; a file system that cannot flush folders has nothing to flush.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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
        ::fsync(fd.get()) != 0 || !closeChecked(fd)) {
        return failure("Cannot write", target, errno);
    }
    return Status::success();
}

}  // namespace

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
        return failure("Cannot read", path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    std::size_t capacity = static_cast<std::size_t>(info.st_size) + 1;
    FileContent content{true, std::make_unique_for_overwrite<char[]>(capacity), 0};
    for (;;) {
        if (content.size == capacity) {  // the file grew while being read
            auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::memcpy(larger.get(), content.data.get(), content.size);
            content.data = std::move(larger);
            capacity *= 2;
        }
        const ssize_t got =
            ::read(fd.get(), content.data.get() + content.size, capacity - content.size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return failure("Cannot read", path, errno);
        }
        if (got == 0) {
            return content;
        }
        content.size += static_cast<std::size_t>(got);
    }
}

Status replaceFile(const fs::path& path, std::string_view bytes) {
    const fs::path target = resolveLinks(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // A file its owner made read-only is not to be changed, though the folder would allow it.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return failure("Cannot save", target, errno);
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    fs::path hiddenName = ".";
    hiddenName += target.filename();
    hiddenName += ".XXXXXX";
    std::string temporary = (folder / hiddenName).string();
    Descriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0) {
        const int error = errno;
        if (exists && (error == EACCES || error == EPERM)) {
            return rewriteInPlace(target, bytes);
        }
        return failure("Cannot save", target, error);
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : modeForNewFile();
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Only possible for a privileged user; keeps the owner the file had.
        [[maybe_unused]] const int ignored = ::fchown(fd.get(), old.st_uid, old.st_gid);
    }
    if (!writeAll(fd.get(), bytes, 0) || ::fchmod(fd.get(), mode) != 0 || ::fsync(fd.get()) != 0 ||
        !closeChecked(fd) || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return failure("Cannot save", target, error);
    }
    flushFolder(folder);
    return Status::success();
}

std::optional<std::string> toCodePage(std::string_view utf8) {
    return utf8ToWindows1252(utf8);
}

std::string fromCodePage(std::string_view bytes) {
    return windows1252ToUtf8(bytes);
}

}  // namespace varnock::platform
