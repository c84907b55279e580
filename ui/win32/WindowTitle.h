// SPDX-License-Identifier: GPL-3.0-or-later
// The caption of the window, its message boxes and its progress window.
#pragma once

namespace varnock::win32 {

inline constexpr const wchar_t* kWindowTitle = L"Varnock";

}  // namespace varnock::win32
