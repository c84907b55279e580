// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageFont.h"

namespace varnock::win32 {
namespace {

BOOL CALLBACK setFont(HWND child, LPARAM font) {
    ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

}  // namespace

MessageFont::~MessageFont() {
    if (m_font) {
        ::DeleteObject(m_font);
    }
}

void MessageFont::createFor(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    HFONT font = nullptr;
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi)) {
        font = ::CreateFontIndirectW(&metrics.lfMessageFont);
    }
    if (!font) {
        return;  // the former font, or the system's, stays: worse looking, still readable
    }
    if (m_font) {
        ::DeleteObject(m_font);
    }
    m_font = font;
}

void MessageFont::applyTo(HWND window) const {
    if (!m_font) {
        return;
    }
    setFont(window, reinterpret_cast<LPARAM>(m_font));
    ::EnumChildWindows(window, setFont, reinterpret_cast<LPARAM>(m_font));
}

int scaled(int pixels96, UINT dpi) {
    return ::MulDiv(pixels96, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

}  // namespace varnock::win32
