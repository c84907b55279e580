// SPDX-License-Identifier: GPL-3.0-or-later
// The system's message font at a window's DPI, owned for as long as the controls use it.
#pragma once

#include <windows.h>

namespace varnock::win32 {

class MessageFont {
public:
    MessageFont() = default;
    MessageFont(const MessageFont&) = delete;
    MessageFont& operator=(const MessageFont&) = delete;
    ~MessageFont();

    // Creates the font for dpi, releasing the former one.
    void createFor(UINT dpi);
    // Gives the font to window and to each of its children.
    void applyTo(HWND window) const;
    HFONT get() const { return m_font; }

private:
    HFONT m_font = nullptr;
};

// Pixels at dpi for a length in pixels at 96 dots per inch.
int scaled(int pixels96, UINT dpi);

}  // namespace varnock::win32
