// SPDX-License-Identifier: GPL-3.0-or-later
// The copy of an archive into "Data Files": whole under its name, or not there at all.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

#include "Status.h"

namespace varnock::platform {

// Told how far a copy has come; returning false cancels it.
using CopyProgress = std::function<bool(std::uint64_t copied, std::uint64_t total)>;

enum class CopyOutcome { Copied, Cancelled };

// Makes destination a copy of source, replacing any file there, or leaves destination as it
// was: the bytes go to a new file in destination's folder, which is flushed and then put in
// place, so that no half-copied file ever stands under that name; it keeps the source's
// modification time. On failure or cancellation the new file is removed.
Result<CopyOutcome> copyFile(const std::filesystem::path& source,
                             const std::filesystem::path& destination,
                             const CopyProgress& progress);

}  // namespace varnock::platform
