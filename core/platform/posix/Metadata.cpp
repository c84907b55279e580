// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Metadata.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/posix/ExtendedAttributes.h"

namespace varnock::platform {
namespace {

mode_t umaskNow() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

Result<Carried> carryMetadata(const std::filesystem::path& old, const File& file) {
    const int to = static_cast<int>(file.native());
    struct stat oldInfo {};
    if (::stat(old.c_str(), &oldInfo) != 0) {
        return failure("Cannot read", old, SystemError::last());
    }
    // The owner first: giving a file away clears its set-user-ID bits, set again below.
    // Compared with what the new file got, which a set-group-ID folder decides.
    struct stat now {};
    if (::fstat(to, &now) != 0) {
        return failure("Cannot save", old, SystemError::last());
    }
    const uid_t owner = oldInfo.st_uid == now.st_uid ? static_cast<uid_t>(-1) : oldInfo.st_uid;
    const gid_t group = oldInfo.st_gid == now.st_gid ? static_cast<gid_t>(-1) : oldInfo.st_gid;
    if ((owner != static_cast<uid_t>(-1) || group != static_cast<gid_t>(-1)) &&
        ::fchown(to, owner, group) != 0) {
        return posix::notPermitted(errno) ? Result<Carried>(Carried::NotPossible)
                                          : failure("Cannot save", old, SystemError::last());
    }
    for (const auto& keep : {posix::keepAttributes, posix::keepFlags}) {
        const auto kept = keep(old, to);
        if (!kept || kept.value() == Carried::NotPossible) {
            return kept;
        }
    }
    // Last, so that the bits are exactly the old ones whatever an ACL set on the way.
    if (::fchmod(to, oldInfo.st_mode & 07777) != 0) {
        return failure("Cannot save", old, SystemError::last());
    }
    return Carried::Kept;
}

SysStatus prepareNewFile(const File& to) {
    if (::fchmod(static_cast<int>(to.native()), 0666 & ~umaskNow()) != 0) {
        return SystemError::last();
    }
    return kDone;
}

SysStatus carryForCopy(const File& source, const File& to) {
    struct stat info {};
    if (::fstat(static_cast<int>(source.native()), &info) != 0) {
        return SystemError::last();
    }
    const std::array<struct timespec, 2> accessedAndModified{info.st_atim, info.st_mtim};
    if (::fchmod(static_cast<int>(to.native()), info.st_mode & 0777 & ~umaskNow()) != 0 ||
        ::futimens(static_cast<int>(to.native()), accessedAndModified.data()) != 0) {
        return SystemError::last();
    }
    return kDone;
}

}  // namespace varnock::platform
