// SPDX-License-Identifier: GPL-3.0-or-later
// How the window shows an archive copy while it runs; the window provides it and draws what
// the engine decided.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnock {

// How finely the copy's progress is told.
inline constexpr int kCopySteps = 1000;
// A copy is shown only once it has run this long, so that quick copies do not flash a window.
inline constexpr std::chrono::milliseconds kCopyShownAfter{500};

// One moment of a copy.
struct CopyReport {
    std::string label;   // what is copied where, and how much of it so far
    int step = 0;        // how far it has come, 0 to kCopySteps
    bool shown = false;  // whether it has run long enough to be shown

    bool operator==(const CopyReport&) const = default;
};

// The report of the copy of the archive named name, copied of total bytes, elapsed since it
// began.
CopyReport copyReport(std::string_view name, std::uint64_t copied, std::uint64_t total,
                      std::chrono::milliseconds elapsed);

class CopyProgressView {
public:
    virtual ~CopyProgressView() = default;

    // Called as the copy advances; returning false cancels it. While report.shown is false the
    // window only keeps itself painted; user input waits, so no second action can start.
    virtual bool copying(const CopyReport& report) = 0;
    // Called once when the copy has ended, however it ended.
    virtual void copyEnded() = 0;
};

}  // namespace varnock
