// SPDX-License-Identifier: GPL-3.0-or-later
// How the system compares file names, for finding a file the way the other application does.
#pragma once

#include <string>
#include <string_view>

namespace varnock::platform {

// The UTF-8 name with every letter in one case, as a case-blind look-up compares names: the
// file system's own folding on Windows, Unicode's elsewhere, as Wine does. A name that is not
// valid UTF-8 is returned as it is.
std::string foldedFileName(std::string_view utf8);

}  // namespace varnock::platform
