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
    // What the system said, where a caller may do more than show the reason: a refusal of
    // access can have a way on that a full disk has not.
    enum class Cause { Other, AccessDenied };

    static Status success() { return Status(); }
    static Status failure(std::string reason, Cause cause = Cause::Other) {
        return Status(std::move(reason), cause);
    }

    bool ok() const { return !m_reason.has_value(); }
    explicit operator bool() const { return ok(); }
    // Empty on success.
    const std::string& reason() const;
    // Other on success.
    Cause cause() const { return m_cause; }

private:
    Status() = default;
    Status(std::string reason, Cause cause) : m_reason(std::move(reason)), m_cause(cause) {}

    std::optional<std::string> m_reason;
    Cause m_cause = Cause::Other;
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
