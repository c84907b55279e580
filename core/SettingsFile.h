// Varnock: keeps the archive list of an INI settings file.
// One key of one section of a settings file, read or changed at the moment of the call.
// The file is never held open, and a change rewrites nothing but that key's line.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "Status.h"

namespace varnock {

// The reader's buffer: a value reads as its first kValueCapacity - 1 characters.
inline constexpr std::size_t kValueCapacity = 255;

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

    // Why value could not be stored so that it reads back unchanged; nothing when it can.
    static std::optional<std::string> whyUnstorable(std::string_view value);

    const std::filesystem::path& path() const { return m_path; }

private:
    // The value in the file's code page, or why it cannot be stored so as to read back the same.
    static Result<std::string> encodeValue(std::string_view value);
    // Sets the key to valueBytes (already in the code page), or removes it when there are none.
    Status change(std::string_view section, std::string_view key,
                  std::optional<std::string_view> valueBytes) const;

    std::filesystem::path m_path;
};

}  // namespace varnock
