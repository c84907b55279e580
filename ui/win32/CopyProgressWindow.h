// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a long archive copy in a modal progress window with a Cancel button, once the engine
// says the copy has run long enough to be shown; until then, and while it is shown, the window
// keeps being painted.
#pragma once

#include <windows.h>

#include "CopyProgressView.h"
#include "MessageFont.h"
#include "ModalCount.h"

namespace varnock::win32 {

class CopyProgressWindow final : public CopyProgressView {
public:
    CopyProgressWindow(HWND owner, ModalCount& modal) : m_owner(owner), m_modal(modal) {}
    CopyProgressWindow(const CopyProgressWindow&) = delete;
    CopyProgressWindow& operator=(const CopyProgressWindow&) = delete;
    ~CopyProgressWindow() override;

    bool copying(const CopyReport& report) override;
    void copyEnded() override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void open();
    void close();
    void onCreate(HWND window);
    void layOut();
    void show(const CopyReport& report);
    // Handles what waits in the queue: paint messages only before the window shows, every
    // message once it shows, so that Cancel can be pressed.
    void pumpMessages();

    HWND m_owner;
    ModalCount& m_modal;
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
