// SPDX-License-Identifier: GPL-3.0-or-later
// What one read of a file found: its bytes and what tells that version of it from another.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnock {

// Which file it is, its size and when it was last written (nanoseconds since 1970).
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;

    bool operator==(const FileStamp&) const = default;
};

// The file as a read found it; a save goes only over exactly this. Holds nothing open.
struct FileRead {
    bool exists = false;
    std::string bytes;
    FileStamp stamp;

    std::string_view text() const { return bytes; }
    bool operator==(const FileRead&) const = default;
};

}  // namespace varnock
