// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChunkCopy.h"

namespace varnock::platform {

SysResult<std::uint64_t> ChunkCopy::throughBuffer(std::uint64_t copied) {
    if (!m_buffer) {
        m_buffer = std::make_unique_for_overwrite<char[]>(kCopyChunk);
    }
    const auto got = m_in.readAt(copied, m_buffer.get(), kCopyChunk);
    if (!got || got.value() == 0) {
        return got ? SysResult<std::uint64_t>(0) : got.error();
    }
    if (const auto written = m_out.writeAt(copied, {m_buffer.get(), got.value()}); !written) {
        return written.error();
    }
    return got.value();
}

}  // namespace varnock::platform
