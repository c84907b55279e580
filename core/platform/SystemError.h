// SPDX-License-Identifier: GPL-3.0-or-later
// The operating system's own error code (errno, or GetLastError() on Windows), and the result
// of a primitive that carries it. Turned into a Status, with a reason, before it leaves
// platform/.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "Status.h"

namespace varnock::platform {

class SystemError {
public:
    enum class Kind { NotFound, AccessDenied, Exists, Locked, Unsupported, Other };

    explicit SystemError(std::uint32_t code) : m_code(code) {}
    // The same error, told of the path the failing call was given, where its caller cannot
    // know it (a link inside a chain, say).
    SystemError at(std::filesystem::path path) const {
        SystemError placed = *this;
        placed.m_at = std::move(path);
        return placed;
    }
    const std::filesystem::path& where() const { return m_at; }
    // The error of the call that just failed.
    static SystemError last();
    // What the system calls a folder where a file was expected.
    static SystemError isAFolder();

    std::uint32_t code() const { return m_code; }
    Kind kind() const;
    bool is(Kind kind) const { return this->kind() == kind; }
    std::string message() const;

private:
    std::uint32_t m_code;
    std::filesystem::path m_at;
};

// A primitive's value, or the system's error.
template <typename T = std::monostate>
class [[nodiscard]] SysResult {
public:
    SysResult(T value) : m_value(std::move(value)) {}
    SysResult(SystemError error) : m_value(error) {}

    bool ok() const { return m_value.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(m_value); }
    T& value() & { return std::get<0>(m_value); }
    T&& value() && { return std::get<0>(std::move(m_value)); }
    SystemError error() const { return std::get<1>(m_value); }

private:
    std::variant<T, SystemError> m_value;
};

using SysStatus = SysResult<>;
inline constexpr std::monostate kDone{};

// The form of every failure told to the user: Cannot read "C:\x.ini": Access is denied.
std::string describeFailure(std::string_view what, const std::filesystem::path& path,
                            std::string_view reason);
std::string describe(std::string_view what, const std::filesystem::path& path, SystemError error);
Status failure(std::string_view what, const std::filesystem::path& path, SystemError error);
// What a Status built from this error tells its callers of it.
Status::Cause causeOf(SystemError error);
// Why a file of this kind cannot be read or saved as a whole: a folder, or a pipe or device.
Status notRegular(std::string_view what, const std::filesystem::path& path, bool isFolder);
// Why a settings file of this many bytes is not read or written; success when it may be.
Status sizeAllowed(std::string_view what, const std::filesystem::path& path, std::uint64_t size);

}  // namespace varnock::platform
