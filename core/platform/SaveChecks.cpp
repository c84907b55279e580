// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SaveChecks.h"

namespace varnock::platform {

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

}  // namespace varnock::platform
