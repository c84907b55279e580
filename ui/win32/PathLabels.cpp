// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathLabels.h"

#include <commctrl.h>

#include "WideText.h"

namespace varnock::win32 {
namespace {

TOOLINFOW toolFor(HWND window, HWND label, const wchar_t* text) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(label);
    tool.lpszText = const_cast<wchar_t*>(text);
    return tool;
}

}  // namespace

PathLabels::~PathLabels() {
    if (m_tooltip) {
        ::DestroyWindow(m_tooltip);
    }
}

void PathLabels::create(HWND window) {
    m_window = window;
    m_tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
}

void PathLabels::add(HWND label) {
    if (!m_tooltip) {
        return;
    }
    TOOLINFOW tool = toolFor(m_window, label, L"");
    ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void PathLabels::setPath(HWND label, const std::string& path) {
    const std::wstring text = wide(path);
    ::SetWindowTextW(label, text.c_str());
    if (m_tooltip) {
        TOOLINFOW tool = toolFor(m_window, label, text.c_str());
        ::SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

}  // namespace varnock::win32
