// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PlatformCommon.h"

#include "PathHelpers.h"

namespace varnock::platform {

std::string describeFailure(std::string_view what, const std::filesystem::path& path,
                            std::string_view reason) {
    return std::string(what) + " \"" + utf8FromPath(path) + "\": " + std::string(reason) + ".";
}

std::optional<std::string> tooLargeForSettings(std::string_view what,
                                               const std::filesystem::path& path,
                                               std::uint64_t size) {
    if (size <= kLargestSettingsFile) {
        return std::nullopt;
    }
    return describeFailure(what, path,
                           "it is larger than " + std::to_string(kLargestSettingsFile >> 20) +
                               " MiB, too large to be a settings file");
}

std::optional<SaveResult> refusalUnlessAsRead(const std::filesystem::path& target,
                                              const FileContent& expected) {
    const auto same = stillAsRead(target, expected);
    if (!same) {
        return saveFailed(same.status());
    }
    if (!same.value()) {
        return SaveResult{SaveOutcome::FileChanged, {}};
    }
    return std::nullopt;
}

CopyResult copyInChunks(std::uint64_t total, const CopyProgress& progress, const MoveChunk& move) {
    std::uint64_t copied = 0;
    if (!progress(copied, total)) {
        return {CopyOutcome::Cancelled, {}};
    }
    for (;;) {
        const auto moved = move(copied);
        if (!moved) {
            return {CopyOutcome::Failed, moved.reason()};
        }
        if (moved.value() == 0) {
            return {CopyOutcome::Copied, {}};
        }
        copied += moved.value();
        if (!progress(copied, total)) {
            return {CopyOutcome::Cancelled, {}};
        }
    }
}

}  // namespace varnock::platform
