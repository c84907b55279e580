// SPDX-License-Identifier: GPL-3.0-or-later
// What every platform's file access does alike around its own system calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Status.h"
#include "platform/Platform.h"

namespace varnock::platform {

// How much a copy moves between two reports of its progress.
inline constexpr std::size_t kCopyChunk = 8u << 20;

// The form of every failure told to the user: Cannot read "C:\x.ini": Access is denied.
std::string describeFailure(std::string_view what, const std::filesystem::path& path,
                            std::string_view reason);

// Why a settings file of this many bytes is not read or written: nothing when it may be.
std::optional<std::string> tooLargeForSettings(std::string_view what,
                                               const std::filesystem::path& path,
                                               std::uint64_t size);

inline SaveResult saveFailed(const Status& status) {
    return {SaveOutcome::Failed, status.reason()};
}

// Why a save must not go on over target: the file is no longer what was read into expected
// (FileChanged), or it could not be looked at (Failed); nothing when it may.
std::optional<SaveResult> refusalUnlessAsRead(const std::filesystem::path& target,
                                              const FileContent& expected);

// Moves the copy's next chunk on, given how much is copied already: how many bytes it moved
// (none at the end of the source), or why it could not.
using MoveChunk = std::function<Result<std::uint64_t>(std::uint64_t copied)>;

// Runs a copy of total bytes chunk by chunk, telling progress before the first and after each
// one: Copied at the end of the source, Cancelled when progress says so, Failed with the
// chunk's reason. Flushing and naming the copy are the caller's.
CopyResult copyInChunks(std::uint64_t total, const CopyProgress& progress, const MoveChunk& move);

}  // namespace varnock::platform
