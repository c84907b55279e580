// SPDX-License-Identifier: GPL-3.0-or-later
// What the probe and its hook in Varnock's process (MenuReader.cpp) agree on.
#pragma once

#include <windows.h>

namespace varnock::probe {

// Sent to an open menu's window: its items are then in the shared memory.
inline constexpr const wchar_t* kReadMenuMessage = L"VarnockProbeReadMenu";
inline constexpr const wchar_t* kMenuMapping = L"VarnockProbeMenu";
inline constexpr DWORD kMenuBytes = 65536;
// The hook module as the probe carries it, a resource of type RCDATA.
inline constexpr const wchar_t* kReaderResource = L"MENUREADER";

}  // namespace varnock::probe
