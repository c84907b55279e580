// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryPainter.h"

#include <commctrl.h>

#include <string>

#include "EntryMarks.h"
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

// The system's warning icon drawn for size: scaled down from a larger image where comctl32
// offers it (the import libraries at hand lack it), else the nearest image of the icon.
HICON loadWarningIcon(int size) {
    using ScaleDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    const HMODULE controls = ::GetModuleHandleW(L"comctl32.dll");
    const auto scaleDown = controls ? reinterpret_cast<ScaleDown>(reinterpret_cast<void*>(
                                          ::GetProcAddress(controls, "LoadIconWithScaleDown")))
                                    : nullptr;
    HICON icon = nullptr;
    if (scaleDown && SUCCEEDED(scaleDown(nullptr, IDI_WARNING, size, size, &icon))) {
        return icon;
    }
    return static_cast<HICON>(::LoadImageW(nullptr, IDI_WARNING, IMAGE_ICON, size, size, 0));
}

}  // namespace

EntryPainter::~EntryPainter() {
    if (m_icon) {
        ::DestroyIcon(m_icon);
    }
}

int EntryPainter::lineHeight(HWND list, HFONT font, UINT dpi) {
    const HDC dc = ::GetDC(list);
    const HGDIOBJ former = ::SelectObject(dc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, former);
    ::ReleaseDC(list, dc);
    return static_cast<int>(metrics.tmHeight) + scaled(2, dpi);
}

HICON EntryPainter::warningIcon(int size) {
    if (m_icon && m_iconSize == size) {
        return m_icon;
    }
    if (m_icon) {
        ::DestroyIcon(m_icon);
        m_icon = nullptr;
    }
    m_icon = loadWarningIcon(size);
    m_iconSize = size;
    return m_icon;
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
        if (marks & (kEntryMissing | kEntryIndented)) {
            const int size = height - gap;
            if (marks & kEntryMissing) {
                ::DrawIconEx(dc, left, area.top + (height - size) / 2, warningIcon(size), size,
                             size, 0, nullptr, DI_NORMAL);
            }
            left += size + gap;
        }
        int color = COLOR_WINDOWTEXT;
        if (selected) {
            color = COLOR_HIGHLIGHTTEXT;
        } else if (marks & kEntryMissing) {
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
