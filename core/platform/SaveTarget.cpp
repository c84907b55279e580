// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SaveTarget.h"

#include "platform/Access.h"
#include "platform/Folder.h"
#include "platform/Links.h"

namespace varnock::platform {

Result<SaveTarget> lookAtTarget(const std::filesystem::path& path) {
    constexpr std::string_view kWhat = "Cannot save";
    auto resolved = resolveLinks(path);
    if (!resolved) {
        return failure("Cannot read", resolved.error().where(), resolved.error());
    }
    SaveTarget target{std::move(resolved).value(), std::nullopt};
    const auto file = File::open(target.path, File::Access::Read);
    if (!file) {
        if (file.error().is(SystemError::Kind::NotFound)) {
            return target;
        }
        return failure(kWhat, target.path, file.error());
    }
    const auto info = file.value().info();
    if (!info) {
        return failure(kWhat, target.path, info.error());
    }
    if (info.value().kind != FileType::Regular) {
        return notRegular(kWhat, target.path, info.value().kind == FileType::Folder);
    }
    // A file that no one may write stays as it is, even for a user whom permissions do not
    // bind.
    if (info.value().readOnly) {
        return Status::failure(describeFailure(kWhat, target.path, "it is read-only"));
    }
    if (const auto allowed = mayWrite(target.path); !allowed) {
        return failure(kWhat, target.path, allowed.error());
    }
    target.old = info.value();
    return target;
}

Status checkSaveable(const std::filesystem::path& path) {
    const auto target = lookAtTarget(path);
    if (!target) {
        return target.status();
    }
    // An existing file can always be written in place; a new one needs the folder's leave.
    if (!target.value().old) {
        if (const auto allowed = mayAddFiles(folderOfFile(target.value().path)); !allowed) {
            return failure("Cannot save", target.value().path, allowed.error());
        }
    }
    return Status::success();
}

}  // namespace varnock::platform
