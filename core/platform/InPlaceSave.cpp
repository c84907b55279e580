// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InPlaceSave.h"

#include <algorithm>

#include "PathHelpers.h"
#include "platform/File.h"
#include "platform/KeptCopy.h"

namespace varnock::platform {
namespace {

namespace fs = std::filesystem;

const std::string kUnchanged = " The settings file was not changed.";

SysStatus writeFrom(const File& file, std::string_view bytes, std::size_t from) {
    if (auto written = file.writeAt(from, bytes.substr(from)); !written) {
        return written;
    }
    if (auto cut = file.truncate(bytes.size()); !cut) {
        return cut;
    }
    return file.flush();
}

}  // namespace

Result<SaveOutcome> saveInPlace(const fs::path& target, const SaveLock& lock,
                                const FileRead& expected, std::string_view bytes) {
    const std::string_view old = expected.text();
    const auto opened = File::open(target, File::Access::Write);
    if (!opened) {
        return failure("Cannot save", target, opened.error());
    }
    const File& file = opened.value();
    const auto firstChange = std::mismatch(old.begin(), old.end(), bytes.begin(), bytes.end());
    const auto from = static_cast<std::size_t>(firstChange.first - old.begin());
    const auto asRead = [&]() -> Result<SaveOutcome> {
        const auto same = lock.stillAsRead(expected);
        if (!same) {
            return same.status();
        }
        return same.value() ? SaveOutcome::Saved : SaveOutcome::FileChanged;
    };
    if (from == old.size() && from == bytes.size()) {
        return asRead();
    }
    auto keeping = KeptCopy::keep(target, expected, bytes);
    if (!keeping) {
        return Status::failure(keeping.reason() + kUnchanged);
    }
    KeptCopy kept = std::move(keeping).value();
    // Checked before the reservation, which itself stamps the file as modified.
    if (auto checked = asRead(); !checked || checked.value() != SaveOutcome::Saved) {
        return checked;
    }
    // Space for the growth is taken first, so that a full disk stops the save before any old
    // byte is overwritten.
    if (bytes.size() > old.size()) {
        if (const auto reserved = file.reserve(bytes.size()); !reserved) {
            return Status::failure(describe("Cannot save", target, reserved.error()) + kUnchanged);
        }
    }
    if (const auto written = writeFrom(file, bytes, from); !written) {
        const std::string reason = describe("Cannot save", target, written.error());
        if (writeFrom(file, old, from)) {
            return Status::failure(reason + kUnchanged);
        }
        kept.keepForUser();
        return Status::failure(reason + " Its old bytes are kept in \"" +
                               utf8FromPath(kept.path()) + "\".");
    }
    return SaveOutcome::Saved;
}

}  // namespace varnock::platform
