// SPDX-License-Identifier: GPL-3.0-or-later
// Outcome types for operations that a user's files can make fail.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace varnock {

// Success, or a failure with a reason written for the user ("Cannot write …: No space left").
class [[nodiscard]] Status {
public:
    static Status success() { return Status(); }
    static Status failure(std::string reason) { return Status(std::move(reason)); }

    bool ok() const { return !m_reason.has_value(); }
    explicit operator bool() const { return ok(); }
    // Empty on success.
    const std::string& reason() const;

private:
    Status() = default;
    explicit Status(std::string reason) : m_reason(std::move(reason)) {}

    std::optional<std::string> m_reason;
};

// A value, or the reason why there is none.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)), m_status(Status::success()) {}
    Result(Status failure) : m_status(std::move(failure)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    const Status& status() const { return m_status; }
    const std::string& reason() const { return m_status.reason(); }

private:
    std::optional<T> m_value;
    Status m_status;
};

}  // namespace varnock
