// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryPainter.h"

#include <string>

#include "DimmedText.h"
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

Rgb rgbOf(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// A dimmed name in the system's colour for disabled text, moved towards the normal text as far
// as it must be to read on its background: the greys of some themes are too light for text.
COLORREF nameColour(bool dimmed, bool selected) {
    const COLORREF text = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (!dimmed) {
        return text;
    }
    const COLORREF background = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const Rgb colour =
        dimmedText(rgbOf(::GetSysColor(COLOR_GRAYTEXT)), rgbOf(text), rgbOf(background));
    return RGB(colour.red, colour.green, colour.blue);
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
        const int size = height - gap;
        const int left = area.left + gap;
        if (const HICON image = m_icons.get(marks & kEntryIconMask, size)) {
            ::DrawIconEx(dc, left, area.top + (height - size) / 2, image, size, size, 0, nullptr,
                         DI_NORMAL);
        }
        ::SetTextColor(dc, nameColour((marks & kEntryDimmed) != 0, selected));
        ::SetBkMode(dc, TRANSPARENT);
        // Every name after the icon's room, marked or not: the names stand in one column
        // whatever the file holds.
        RECT textArea{left + size + gap, area.top, area.right - gap, area.bottom};
        const std::wstring text = textOf(item.hwndItem, item.itemID);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        ::DrawFocusRect(dc, &area);
    }
}

}  // namespace varnock::win32
