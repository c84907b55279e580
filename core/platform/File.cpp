// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/File.h"

#include <utility>

namespace varnock::platform {

File::File(File&& other) noexcept : m_handle(std::exchange(other.m_handle, -1)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        m_handle = std::exchange(other.m_handle, -1);
    }
    return *this;
}

}  // namespace varnock::platform
