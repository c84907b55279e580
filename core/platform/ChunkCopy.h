// SPDX-License-Identifier: GPL-3.0-or-later
// Moving a copy's bytes on, chunk by chunk, the fastest way the system offers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/File.h"

namespace varnock::platform {

// How much a copy moves between two reports of its progress.
inline constexpr std::size_t kCopyChunk = 8u << 20;

class ChunkCopy {
public:
    ChunkCopy(const File& in, const File& out) : m_in(in), m_out(out) {}
    // Moves up to one chunk on, given how much is copied already: how many bytes it moved,
    // 0 at the end of in.
    SysResult<std::uint64_t> next(std::uint64_t copied);

private:
    // Through a buffer of our own, reading and writing at the same offset.
    SysResult<std::uint64_t> throughBuffer(std::uint64_t copied);

    const File& m_in;
    const File& m_out;
    bool m_inKernel = true;
    std::unique_ptr<char[]> m_buffer;
};

}  // namespace varnock::platform
