// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemError.h"
#include "PathHelpers.h"
#include "platform/ReadSettled.h"

namespace varnock::platform {

std::string describeFailure(std::string_view what, const std::filesystem::path& path,
                            std::string_view reason) {
    return std::string(what) + " \"" + utf8FromPath(path) + "\": " + std::string(reason) + ".";
}

std::string describe(std::string_view what, const std::filesystem::path& path, SystemError error) {
    return describeFailure(what, path, error.message());
}

Status failure(std::string_view what, const std::filesystem::path& path, SystemError error) {
    return Status::failure(describe(what, path, error), causeOf(error));
}

Status::Cause causeOf(SystemError error) {
    return error.is(SystemError::Kind::AccessDenied) ? Status::Cause::AccessDenied
                                                     : Status::Cause::Other;
}

Status notRegular(std::string_view what, const std::filesystem::path& path, bool isFolder) {
    if (isFolder) {
        return failure(what, path, SystemError::isAFolder());
    }
    return Status::failure(describeFailure(what, path, "it is not a regular file"));
}

Status sizeAllowed(std::string_view what, const std::filesystem::path& path, std::uint64_t size) {
    if (size <= kLargestSettingsFile) {
        return Status::success();
    }
    return Status::failure(describeFailure(what, path,
                                           "it is larger than " +
                                               std::to_string(kLargestSettingsFile >> 20) +
                                               " MiB, too large to be a settings file"));
}

}  // namespace varnock::platform
