// SPDX-License-Identifier: GPL-3.0-or-later
// What every platform's replaceFile does alike around its own system calls.
#pragma once

#include <filesystem>
#include <optional>

#include "Status.h"
#include "platform/Platform.h"

namespace varnock::platform {

inline SaveResult saveFailed(const Status& status) {
    return {SaveOutcome::Failed, status.reason()};
}

// Why a save must not go on over target: the file is no longer what was read into expected
// (FileChanged), or it could not be looked at (Failed); nothing when it may.
std::optional<SaveResult> refusalUnlessAsRead(const std::filesystem::path& target,
                                              const FileContent& expected);

}  // namespace varnock::platform
