// Varnock: keeps the archive list of an INI settings file.
#include "Status.h"

namespace varnock {

const std::string& Status::reason() const {
    static const std::string none;
    return m_reason ? *m_reason : none;
}

}  // namespace varnock
