// SPDX-License-Identifier: GPL-3.0-or-later
// A settings file, read or changed at the moment of the call: one key at a time, or a whole
// edit of its text. Between calls nothing is held, and a change rewrites nothing but the
// lines it changes, only over the very bytes it was computed from.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "FileRead.h"
#include "Status.h"

namespace varnock {

// The reader's buffer: a value reads as its first kValueCapacity - 1 characters.
inline constexpr std::size_t kValueCapacity = 255;

// A value checked and converted once for storing: the text as shown, and the bytes in the
// file's code page that read back as exactly that text.
struct StorableValue {
    std::string text;
    std::string bytes;
};

class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path) : m_path(std::move(path)) {}

    // The key's value (UTF-8), cut to kValueCapacity - 1 characters of the file's code page;
    // empty for a missing or empty key, section or file, and for a file that cannot be read.
    std::string read(std::string_view section, std::string_view key) const;
    // As read, but a file that exists and cannot be read is a failure.
    Result<std::string> readChecked(std::string_view section, std::string_view key) const;

    // Sets the key, creating the section or the file when missing. Fails, leaving the file as
    // it was, when the file cannot be read whole or saved, or when the value cannot be stored
    // so that it reads back unchanged.
    Status write(std::string_view section, std::string_view key, std::string_view value) const;
    // Deletes the key's line. A key that is not there leaves the file untouched.
    Status remove(std::string_view section, std::string_view key) const;
    // Whether a write could save the file now (a read-only file, or a folder and a file that
    // do not allow writing, cannot be saved); nothing is changed.
    Status checkSaveable() const;

    // The whole file as it is now, taken when no other program is writing it: a read during
    // which the file changed, or of a file written a moment ago, is repeated until two reads
    // agree. Fails when the file keeps changing, or exists and cannot be read.
    Result<FileRead> snapshot() const;

    // A change of the file's text (bytes in its code page): the new text, or nothing to leave
    // the file as it is.
    using Change = std::function<std::optional<std::string>(std::string_view text)>;
    // Saves what change makes of the file's text, only over the very bytes change was given:
    // when another program changed the file meanwhile, change runs again on the new text, a
    // few times, before the edit is refused. start, when given, is the first text tried.
    Status edit(const Change& change, std::optional<FileRead> start = {}) const;

    // The value ready to store, or why it could not be stored so as to read back unchanged
    // (a reason that reads on from "…: ").
    static Result<StorableValue> storable(std::string_view value);

    const std::filesystem::path& path() const { return m_path; }

private:
    // Sets the key to valueBytes (already in the code page), or removes it when there are none.
    Status change(std::string_view section, std::string_view key,
                  std::optional<std::string_view> valueBytes) const;

    std::filesystem::path m_path;
};

}  // namespace varnock
