// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the owner-drawn list's entries: a missing archive with the system's warning icon and
// its name dimmed, the others indented alike when one is missing so that the names align.
#pragma once

#include <windows.h>

namespace varnock::win32 {

class EntryPainter {
public:
    EntryPainter() = default;
    EntryPainter(const EntryPainter&) = delete;
    EntryPainter& operator=(const EntryPainter&) = delete;
    ~EntryPainter();

    // The height of an entry drawn in font.
    static int lineHeight(HWND list, HFONT font, UINT dpi);
    void draw(const DRAWITEMSTRUCT& item, UINT dpi);

private:
    HICON warningIcon(int size);

    HICON m_icon = nullptr;
    int m_iconSize = 0;
};

}  // namespace varnock::win32
