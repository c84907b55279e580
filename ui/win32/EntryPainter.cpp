// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryPainter.h"

#include <string>

#include "EntryItemData.h"
#include "MessageFont.h"

namespace varnock::win32 {
namespace {

std::wstring textOf(HWND list, UINT index) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

}  // namespace

int EntryPainter::lineHeight(HWND list, HFONT font, UINT dpi) {
    const HDC dc = ::GetDC(list);
    const HGDIOBJ former = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, former);
    ::ReleaseDC(list, dc);
    return static_cast<int>(metrics.tmHeight) + scaled(2, dpi);
}

void EntryPainter::draw(const DRAWITEMSTRUCT& item, UINT dpi) {
    const HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(dc, &area, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID != static_cast<UINT>(-1)) {
        const LPARAM marks = static_cast<LPARAM>(item.itemData);
        const int height = area.bottom - area.top;
        const int gap = scaled(2, dpi);
        int left = area.left + gap;
        const LPARAM icon = marks & kEntryIconMask;
        if (icon != kEntryNoIcon || (marks & kEntryIndented)) {
            const int size = height - gap;
            if (const HICON image = m_icons.get(icon, size)) {
                ::DrawIconEx(dc, left, area.top + (height - size) / 2, image, size, size, 0,
                             nullptr, DI_NORMAL);
            }
            left += size + gap;
        }
        int color = COLOR_WINDOWTEXT;
        if (selected) {
            color = COLOR_HIGHLIGHTTEXT;
        } else if (marks & kEntryDimmed) {
            color = COLOR_GRAYTEXT;
        }
        ::SetTextColor(dc, ::GetSysColor(color));
        ::SetBkMode(dc, TRANSPARENT);
        RECT textArea{left, area.top, area.right - gap, area.bottom};
        const std::wstring text = textOf(item.hwndItem, item.itemID);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        ::DrawFocusRect(dc, &area);
    }
}

}  // namespace varnock::win32
