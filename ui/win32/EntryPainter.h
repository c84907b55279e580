// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the owner-drawn list's entries: a marked entry with its mark's icon, its name dimmed
// where the other application will not load it, every name after room for an icon so that the
// names align.
#pragma once

#include <windows.h>

#include "MarkIcons.h"

namespace varnock::win32 {

class EntryPainter {
public:
    // The height of an entry drawn in font.
    static int lineHeight(HWND list, HFONT font, UINT dpi);
    void draw(const DRAWITEMSTRUCT& item, UINT dpi);

private:
    MarkIcons m_icons;
};

}  // namespace varnock::win32
