// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/ExtendedAttributes.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

namespace varnock::platform::posix {
namespace {

namespace fs = std::filesystem;

// Errors that mean the file system has no such thing to carry over.
bool notSupported(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP || error == ENOTTY || error == EINVAL;
}

// The names of the extended attributes, or the errno of the listing.
std::vector<std::string> attributeNames(const std::string& list) {
    std::vector<std::string> names;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = list.find('\0', at);
        names.emplace_back(list.substr(at, end - at));
        at = end == std::string::npos ? list.size() : end + 1;
    }
    return names;
}

// Reads with the size-then-fill protocol of the xattr calls, retrying when the value grew.
template <typename Call>
ssize_t readSized(std::string& out, Call call) {
    for (;;) {
        const ssize_t size = call(nullptr, 0);
        if (size <= 0) {
            out.clear();
            return size;
        }
        out.resize(static_cast<std::size_t>(size));
        const ssize_t got = call(out.data(), out.size());
        if (got >= 0) {
            out.resize(static_cast<std::size_t>(got));
            return got;
        }
        if (errno != ERANGE) {
            return got;
        }
    }
}

}  // namespace

bool notPermitted(int error) {
    return error == EPERM || error == EACCES || error == ENOTSUP || error == EOPNOTSUPP;
}

Result<Carried> keepAttributes(const fs::path& old, int to) {
    std::string list;
    if (readSized(list, [&](char* b, std::size_t n) { return ::listxattr(old.c_str(), b, n); }) <
        0) {
        return notSupported(errno)
                   ? Result<Carried>(Carried::Kept)
                   : failure("Cannot read the attributes of", old, SystemError::last());
    }
    const auto wanted = attributeNames(list);
    // What the new file was given by its folder (an inherited ACL) and the old one lacks.
    std::string own;
    if (readSized(own, [&](char* b, std::size_t n) { return ::flistxattr(to, b, n); }) >= 0) {
        for (const auto& name : attributeNames(own)) {
            if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() &&
                ::fremovexattr(to, name.c_str()) != 0) {
                return notPermitted(errno) ? Result<Carried>(Carried::NotPossible)
                                           : failure("Cannot save", old, SystemError::last());
            }
        }
    }
    for (const auto& name : wanted) {
        std::string value;
        if (readSized(value, [&](char* b, std::size_t n) {
                return ::getxattr(old.c_str(), name.c_str(), b, n);
            }) < 0) {
            return failure("Cannot read the attributes of", old, SystemError::last());
        }
        // One the new file already has alike (a security label from the folder) is left be:
        // setting it may need a privilege that keeping it does not.
        std::string present;
        if (readSized(
                present,
                [&](char* b, std::size_t n) { return ::fgetxattr(to, name.c_str(), b, n); }) >= 0 &&
            present == value) {
            continue;
        }
        if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) {
            return notPermitted(errno) ? Result<Carried>(Carried::NotPossible)
                                       : failure("Cannot save", old, SystemError::last());
        }
    }
    return Carried::Kept;
}

Result<Carried> keepFlags(const fs::path& old, int to) {
    const auto from = File::open(old, File::Access::Read);
    if (!from) {
        return failure("Cannot read", old, from.error());
    }
    int flags = 0;
    int ownFlags = 0;
    if (::ioctl(static_cast<int>(from.value().native()), FS_IOC_GETFLAGS, &flags) != 0) {
        return notSupported(errno)
                   ? Result<Carried>(Carried::Kept)
                   : failure("Cannot read the attributes of", old, SystemError::last());
    }
    if (::ioctl(to, FS_IOC_GETFLAGS, &ownFlags) != 0) {
        return notSupported(errno) ? Result<Carried>(Carried::NotPossible)
                                   : failure("Cannot save", old, SystemError::last());
    }
    // No program may replace or rewrite such a file, and a new file given these flags could
    // not even be removed again: refused before anything is given.
    if ((flags & (FS_APPEND_FL | FS_IMMUTABLE_FL)) != 0) {
        return Status::failure(
            describeFailure("Cannot save", old,
                            std::string("it is marked ") +
                                ((flags & FS_IMMUTABLE_FL) != 0 ? "immutable" : "append-only") +
                                ", so no program may change it (see chattr)"));
    }
    // Only what chattr can change; the rest (extents, inline data) is the file system's own.
    constexpr int kChangeable = FS_FL_USER_MODIFIABLE;
    if ((ownFlags & kChangeable) == (flags & kChangeable)) {
        return Carried::Kept;
    }
    ownFlags = (ownFlags & ~kChangeable) | (flags & kChangeable);
    if (::ioctl(to, FS_IOC_SETFLAGS, &ownFlags) != 0) {
        return notPermitted(errno) || notSupported(errno)
                   ? Result<Carried>(Carried::NotPossible)
                   : failure("Cannot save", old, SystemError::last());
    }
    return Carried::Kept;
}

}  // namespace varnock::platform::posix
