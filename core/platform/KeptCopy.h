// SPDX-License-Identifier: GPL-3.0-or-later
// The copy of a settings file's old bytes that a save in place keeps until its new bytes are
// on disk, in the user's cache folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "FileRead.h"
#include "Status.h"
#include "platform/TemporaryFile.h"

namespace varnock::platform {

// Named "<device>-<file>-<fingerprint of the new bytes>-<name>", so that a copy left behind
// can be matched to its file and to the save that made it; locked while the save runs.
class KeptCopy {
public:
    // Written whole and flushed under its name. A copy left by an earlier save that did not
    // finish stops the save and is named, unless the file shows that save's start or end.
    static Result<KeptCopy> keep(const std::filesystem::path& target, const FileRead& expected,
                                 std::string_view bytes);
    KeptCopy(KeptCopy&& other) noexcept;
    KeptCopy& operator=(KeptCopy&&) = delete;
    ~KeptCopy();

    // Left in place, for the user, when the file may now hold neither its old nor new bytes.
    void keepForUser() { m_keptForUser = true; }
    const std::filesystem::path& path() const { return m_path; }

private:
    KeptCopy(std::filesystem::path path, TemporaryFile file)
        : m_path(std::move(path)), m_file(std::move(file)) {}
    std::filesystem::path m_path;
    std::optional<TemporaryFile> m_file;  // open, so locked, while the save runs
    bool m_keptForUser = false;
};

}  // namespace varnock::platform
