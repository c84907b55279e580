// SPDX-License-Identifier: GPL-3.0-or-later
// The session speaks UTF-8; the wide Windows calls speak UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace varnock::win32 {

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

}  // namespace varnock::win32
