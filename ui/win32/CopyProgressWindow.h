// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a long archive copy in a modal progress window with a Cancel button. The window appears
// only once the copy has run for half a second, so that quick copies do not flash it; until
// then, and while it is shown, the window keeps being painted.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "CopyProgressView.h"
#include "MessageFont.h"
#include "ModalCount.h"

namespace varnock::win32 {

class CopyProgressWindow final : public CopyProgressView {
public:
    CopyProgressWindow(HWND owner, ModalCount& modal, ULONGLONG showAfterMs = 500);
    CopyProgressWindow(const CopyProgressWindow&) = delete;
    CopyProgressWindow& operator=(const CopyProgressWindow&) = delete;
    ~CopyProgressWindow() override;

    bool copying(const std::string& name, std::uint64_t copied, std::uint64_t total) override;
    void copyEnded() override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void open();
    void close();
    void onCreate(HWND window);
    void layOut();
    void show(const std::string& name, std::uint64_t copied, std::uint64_t total);
    // Handles what waits in the queue: paint messages only before the window shows, every
    // message once it shows, so that Cancel can be pressed.
    void pumpMessages();

    HWND m_owner;
    ModalCount& m_modal;
    ULONGLONG m_showAfterMs;
    ULONGLONG m_started = 0;
    ULONGLONG m_lastShown = 0;
    HWND m_window = nullptr;
    HWND m_text = nullptr;
    HWND m_bar = nullptr;
    HWND m_cancel = nullptr;
    HWND m_ownerFocus = nullptr;
    MessageFont m_font;
    bool m_cancelled = false;
};

}  // namespace varnock::win32
