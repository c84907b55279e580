// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows headers, included alike by every Windows primitive, and the handle of a File.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>

namespace varnock::platform::windows {

inline HANDLE handleOf(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace varnock::platform::windows
