// SPDX-License-Identifier: GPL-3.0-or-later
// How the window shows an archive copy while it runs; the window provides it.
#pragma once

#include <cstdint>
#include <string>

namespace varnock {

class CopyProgressView {
public:
    virtual ~CopyProgressView() = default;

    // Called as the copy of the archive named name advances; returning false cancels it.
    virtual bool copying(const std::string& name, std::uint64_t copied, std::uint64_t total) = 0;
    // Called once when the copy has ended, however it ended.
    virtual void copyEnded() = 0;
};

}  // namespace varnock
