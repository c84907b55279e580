// SPDX-License-Identifier: GPL-3.0-or-later
// Watches the settings file's folder on a thread of its own and posts a message to the window
// when the file may have changed (written, replaced by a rename, removed or created again) or
// anything in the "Data Files" folder beside it, or that folder itself.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

namespace varnock::win32 {

class SettingsFileWatch {
public:
    // Each notice is posted to window as message.
    SettingsFileWatch(HWND window, UINT message) : m_window(window), m_message(message) {}
    SettingsFileWatch(const SettingsFileWatch&) = delete;
    SettingsFileWatch& operator=(const SettingsFileWatch&) = delete;
    ~SettingsFileWatch();

    // Watches the file at path (UTF-8) instead of the former one; nothing for an empty path.
    // Returns once the watch is armed, so that no change made after it is missed.
    void watch(const std::string& path);

private:
    void stop();
    void run(HANDLE folder, std::wstring name);

    HWND m_window;
    UINT m_message;
    HANDLE m_stop = nullptr;
    HANDLE m_armed = nullptr;
    std::thread m_thread;
};

}  // namespace varnock::win32
