// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveList.h"

#include <algorithm>

#include "AccessibleNames.h"
#include "EntryItemData.h"
#include "EntryTips.h"
#include "WideText.h"

namespace varnock::win32 {
namespace {

LPARAM iconBits(ShownEntry::Icon icon) {
    switch (icon) {
        case ShownEntry::Icon::NotLoaded:
            return kEntryNotLoadedIcon;
        case ShownEntry::Icon::Missing:
            return kEntryMissingIcon;
        case ShownEntry::Icon::RegisteredTwice:
            return kEntryRegisteredTwiceIcon;
        case ShownEntry::Icon::None:
            break;
    }
    return kEntryNoIcon;
}

LPARAM marksOf(const ShownEntry& entry) {
    LPARAM marks = iconBits(entry.icon());
    if (entry.dimmed()) {
        marks |= kEntryDimmed;
    }
    if (!entry.note.empty()) {
        marks |= kEntryNoted;
    }
    return marks;
}

}  // namespace

void forgetDescriptions(HWND list) {
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT marks = ::SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        if (marks != LB_ERR && (marks & kEntryNoted)) {
            describeForScreenReaders(list, static_cast<DWORD>(i) + 1, nullptr);
        }
    }
}

void fillList(HWND list, const std::vector<ShownEntry>& entries) {
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    forgetDescriptions(list);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    std::vector<std::wstring> notes;
    notes.reserve(entries.size());
    for (const ShownEntry& entry : entries) {
        const std::wstring text = wide(entry.name);
        const LRESULT index =
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index < 0) {
            continue;
        }
        notes.push_back(wide(entry.note));
        if (!entry.note.empty()) {
            describeForScreenReaders(list, static_cast<DWORD>(index) + 1, notes.back().c_str());
        }
        ::SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), marksOf(entry));
        if (entry.selected) {
            ::SendMessageW(list, LB_SETSEL, TRUE, index);
        }
    }
    setEntryNotes(list, std::move(notes));
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

std::vector<int> selectedIn(HWND list) {
    const LRESULT count = ::SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) {
        return {};
    }
    std::vector<int> items(static_cast<std::size_t>(count));
    const LRESULT got = ::SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                       reinterpret_cast<LPARAM>(items.data()));
    items.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return items;
}

void bringIntoSight(HWND list, int position) {
    RECT client{};
    ::GetClientRect(list, &client);
    const auto itemHeight = static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int visible = itemHeight > 0 ? std::max(1, int(client.bottom) / itemHeight) : 1;
    const auto top = static_cast<int>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    if (position < top) {
        ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(position), 0);
    } else if (position >= top + visible) {
        ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(position - visible + 1), 0);
    }
}

void makeCurrent(HWND list, int position) {
    ::SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(position), FALSE);
    // Shift with an arrow key or a click then extends from here, not from a former entry.
    ::SendMessageW(list, LB_SETANCHORINDEX, static_cast<WPARAM>(position), 0);
}

void selectForMenuAt(HWND list, POINT point) {
    const LRESULT hit = ::SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(hit) != 0) {
        return;  // below the last entry: the selection stays
    }
    const WPARAM entry = LOWORD(hit);
    if (::SendMessageW(list, LB_GETSEL, entry, 0) <= 0) {
        ::SendMessageW(list, LB_SETSEL, FALSE, -1);
        ::SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(entry));
    }
    makeCurrent(list, static_cast<int>(entry));
}

}  // namespace varnock::win32
