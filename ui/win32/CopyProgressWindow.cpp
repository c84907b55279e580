// SPDX-License-Identifier: GPL-3.0-or-later
#include "CopyProgressWindow.h"

#include <algorithm>

#include <commctrl.h>

#include <utility>

#include "WideText.h"
#include "WindowTitle.h"

namespace varnock::win32 {
namespace {

constexpr wchar_t kClassName[] = L"VarnockCopyProgress";
constexpr ULONGLONG kRedrawMs = 100;
// The layout at 96 dots per inch.
constexpr SIZE kClient{360, 124};
constexpr RECT kText{12, 12, 348, 52};
constexpr RECT kBar{12, 56, 348, 76};
constexpr RECT kCancel{264, 88, 348, 112};

void registerClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

void place(HWND control, const RECT& at96, UINT dpi) {
    ::SetWindowPos(control, nullptr, scaled(at96.left, dpi), scaled(at96.top, dpi),
                   scaled(at96.right - at96.left, dpi), scaled(at96.bottom - at96.top, dpi),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CopyProgressWindow::~CopyProgressWindow() {
    close();
}

bool CopyProgressWindow::copying(const CopyReport& report) {
    const ULONGLONG now = ::GetTickCount64();
    if (!m_window && report.shown) {
        open();
    }
    if (m_window && (now - m_lastShown >= kRedrawMs || report.step == kCopySteps)) {
        m_lastShown = now;
        show(report);
    }
    pumpMessages();
    return !m_cancelled;
}

void CopyProgressWindow::copyEnded() {
    close();
    m_cancelled = false;
}

void CopyProgressWindow::open() {
    registerClass(windowProc);
    m_ownerFocus = ::GetFocus();
    // Set up in WM_CREATE, which finds this object through the creation parameter.
    ::CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, kWindowTitle,
                      WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, kClient.cx,
                      kClient.cy, m_owner, nullptr, ::GetModuleHandleW(nullptr), this);
    if (!m_window) {
        return;  // the copy goes on without a view of it
    }
    ::EnableWindow(m_owner, FALSE);
    ::ShowWindow(m_window, SW_SHOW);
    ::SetFocus(m_cancel);
    m_modal.open();
}

void CopyProgressWindow::close() {
    if (!m_window) {
        return;
    }
    m_modal.close();
    // The owner first, so that the system activates it rather than another program's window.
    ::EnableWindow(m_owner, TRUE);
    ::DestroyWindow(std::exchange(m_window, nullptr));
    ::SetActiveWindow(m_owner);
    if (m_ownerFocus && ::IsWindow(m_ownerFocus)) {
        ::SetFocus(m_ownerFocus);
    }
}

LRESULT CALLBACK CopyProgressWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* creating = reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* self = reinterpret_cast<CopyProgressWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_CREATE:
            self->onCreate(window);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                self->m_cancelled = true;
            }
            return 0;
        case WM_CLOSE:
            self->m_cancelled = true;
            return 0;
        case WM_DPICHANGED:
            self->layOut();
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void CopyProgressWindow::onCreate(HWND window) {
    m_window = window;
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_text = ::CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                               0, 0, 0, window, nullptr, instance, nullptr);
    m_bar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, 0, 0,
                              0, window, nullptr, instance, nullptr);
    ::SendMessageW(m_bar, PBM_SETRANGE32, 0, kCopySteps);
    m_cancel = ::CreateWindowExW(0, WC_BUTTONW, L"Cancel",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                                 window, reinterpret_cast<HMENU>(IDCANCEL), instance, nullptr);
    layOut();
}

void CopyProgressWindow::layOut() {
    const UINT dpi = ::GetDpiForWindow(m_window);
    RECT frame{0, 0, scaled(kClient.cx, dpi), scaled(kClient.cy, dpi)};
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_window, GWL_EXSTYLE));
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
    // Centred over the owner, as a dialog stands.
    RECT owner{};
    ::GetWindowRect(m_owner, &owner);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Kept within the screen: the window is wider than its owner, which may stand at an edge.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(m_owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int left =
        std::clamp<int>(owner.left + (owner.right - owner.left - width) / 2,
                        static_cast<int>(work.left), std::max<int>(work.left, work.right - width));
    const int top =
        std::clamp<int>(owner.top + (owner.bottom - owner.top - height) / 2,
                        static_cast<int>(work.top), std::max<int>(work.top, work.bottom - height));
    ::SetWindowPos(m_window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    place(m_text, kText, dpi);
    place(m_bar, kBar, dpi);
    place(m_cancel, kCancel, dpi);
    m_font.createFor(dpi);
    m_font.applyTo(m_window);
}

void CopyProgressWindow::show(const CopyReport& report) {
    ::SetWindowTextW(m_text, wide(report.label).c_str());
    ::SendMessageW(m_bar, PBM_SETPOS, static_cast<WPARAM>(report.step), 0);
}

void CopyProgressWindow::pumpMessages() {
    MSG message;
    const UINT which = m_window ? PM_REMOVE : PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE;
    while (::PeekMessageW(&message, nullptr, 0, 0, which)) {
        if (message.message == WM_QUIT) {
            // Ends the program's loop once the copy is over.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            m_cancelled = true;
            return;
        }
        if (m_window && ::IsDialogMessageW(m_window, &message)) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace varnock::win32
