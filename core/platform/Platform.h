// Varnock: keeps the archive list of an INI settings file.
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

struct FileContent {
    bool exists = false;
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::size_t capacity = 0;

    std::string_view text() const { return {data.get(), size}; }

    // An existing file's buffer, sized for expectedSize bytes plus one, so that the end of
    // the file is seen without growing it. Left uninitialised: it is about to be read into.
    static FileContent forReading(std::size_t expectedSize) {
        return {true, std::make_unique_for_overwrite<char[]>(expectedSize + 1), 0,
                expectedSize + 1};
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

// The whole file. A missing file is a success with exists false; a folder, a device or a
// file that cannot be read to its end is a failure. Never blocks on a pipe.
Result<FileContent> readFile(const std::filesystem::path& path);

// Makes the file hold exactly bytes, or leaves it as it was: the bytes go to a new file in
// the same folder, are flushed, and that file is renamed over the old one, keeping its
// permissions; a path that is a symbolic link is replaced at the link's target. Where the
// folder does not allow a new file, the file is rewritten in place after its new size has
// been reserved. A file that does not exist is created.
Status replaceFile(const std::filesystem::path& path, std::string_view bytes);

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
// to destination, so that no half-copied file ever stands under that name. On failure or
// cancellation the new file is removed.
CopyResult copyFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                    const CopyProgress& progress);

// UTF-8 to and from the 8-bit code page that settings files are written in: the system's
// ANSI code page on Windows, Windows-1252 elsewhere. toCodePage returns nothing for text
// that the code page cannot hold exactly.
std::optional<std::string> toCodePage(std::string_view utf8);
std::string fromCodePage(std::string_view bytes);

}  // namespace varnock::platform
