// SPDX-License-Identifier: GPL-3.0-or-later
#include "Status.h"

namespace varnock {

const std::string& Status::reason() const {
    static const std::string none;
    return m_reason ? *m_reason : none;
}

}  // namespace varnock
