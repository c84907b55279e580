// SPDX-License-Identifier: GPL-3.0-or-later
// The folder a save or copy puts its file into, opened before anything is changed so that the
// change can be made durable afterwards without a new way to fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "platform/SystemError.h"

namespace varnock::platform {

class Folder {
public:
    static SysResult<Folder> open(const std::filesystem::path& path);
    Folder(Folder&& other) noexcept;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder();

    // Makes the folder's entries durable; success where the system has nothing to flush.
    SysStatus flush() const;
    // The longest name a file in it may have.
    std::size_t longestName() const;
    const std::filesystem::path& path() const { return m_path; }

private:
    Folder(std::filesystem::path path, std::intptr_t handle)
        : m_path(std::move(path)), m_handle(handle) {}
    std::filesystem::path m_path;
    std::intptr_t m_handle = -1;
};

// The folder a file stands in ("." for a bare name).
std::filesystem::path folderOfFile(const std::filesystem::path& file);

}  // namespace varnock::platform
