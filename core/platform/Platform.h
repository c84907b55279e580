// SPDX-License-Identifier: GPL-3.0-or-later
// The few operating-system services the engine needs; one implementation per platform.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Status.h"

namespace varnock::platform {

// What tells one version of a file from another: which file it is, its size and when it was
// last written (nanoseconds since 1970).
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;

    bool operator==(const FileStamp&) const = default;
};

// The file a read came from, where the platform keeps it open for stillAsRead.
class OpenFile;
struct OpenFileCloser {
    void operator()(OpenFile* file) const;
};

struct FileContent {
    bool exists = false;
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::size_t capacity = 0;
    FileStamp stamp;      // as the read ended
    bool settled = true;  // false when the file changed while it was read
    std::unique_ptr<OpenFile, OpenFileCloser> file;

    std::string_view text() const { return {data.get(), size}; }

    // An existing file's buffer, sized for expectedSize bytes plus one, so that the end of
    // the file is seen without growing it. Left uninitialised: it is about to be read into.
    static FileContent forReading(std::size_t expectedSize) {
        FileContent content;
        content.exists = true;
        content.data = std::make_unique_for_overwrite<char[]>(expectedSize + 1);
        content.capacity = expectedSize + 1;
        return content;
    }
    // Room for the next read at data + size, doubled when the file grew while being read.
    std::size_t makeRoom() {
        if (size == capacity) {
            auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::copy_n(data.get(), size, larger.get());
            data = std::move(larger);
            capacity *= 2;
        }
        return capacity - size;
    }
};

// Larger than any settings file; a file this large is refused rather than read whole.
inline constexpr std::uint64_t kLargestSettingsFile = 64u << 20;

// The whole file, with its stamp. A missing file is a success with exists false; a folder, a
// device, a file larger than kLargestSettingsFile or a file that cannot be read to its end is
// a failure. Never blocks on a pipe.
Result<FileContent> readFile(const std::filesystem::path& path);

// Whether the file at path is still the one read into content, with the same size, time and
// bytes (or still missing, when it was).
Result<bool> stillAsRead(const std::filesystem::path& path, const FileContent& content);

enum class SaveOutcome { Saved, FileChanged, Failed };

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Failed;
    std::string reason;  // for Failed, written for the user
};

// Makes the file hold exactly bytes, or leaves it as it was, and only while it is still what
// was read into expected (checked with stillAsRead just before the old file is given up):
// FileChanged tells that another program changed it meanwhile. The bytes go to a new file in
// the same folder, which is given what the old one carries besides its bytes, flushed, and put
// in the old one's place; a symbolic link is followed to its end, where a missing file is
// created. Where a new file would lose something (the folder forbids it, the file has other
// names, its owner cannot be given away), the file is rewritten in place, recoverably. A
// failure means the file is unchanged, unless its reason says otherwise.
SaveResult replaceFile(const std::filesystem::path& path, const FileContent& expected,
                       std::string_view bytes);

// Whether replaceFile could save the file now, decided as replaceFile decides, without
// changing it; the reason when it could not. Lets an action refuse before it starts work
// that a failed save would waste.
Status checkSaveable(const std::filesystem::path& path);

// Told how far a copy has come; returning false cancels it.
using CopyProgress = std::function<bool(std::uint64_t copied, std::uint64_t total)>;

enum class CopyOutcome { Copied, Cancelled, Failed };

struct CopyResult {
    CopyOutcome outcome = CopyOutcome::Failed;
    std::string reason;  // for Failed, written for the user
};

// Makes destination a copy of source, replacing any file there, or leaves destination as it
// was: the bytes go to a new file in destination's folder, which is flushed and then renamed
// to destination, so that no half-copied file ever stands under that name; it keeps the
// source's modification time. On failure or cancellation the new file is removed.
CopyResult copyFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                    const CopyProgress& progress);

// UTF-8 to and from the 8-bit code page that settings files are written in: the system's
// ANSI code page on Windows, Windows-1252 elsewhere. toCodePage returns nothing for text
// that the code page cannot hold exactly.
std::optional<std::string> toCodePage(std::string_view utf8);
std::string fromCodePage(std::string_view bytes);

}  // namespace varnock::platform
