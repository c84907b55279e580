// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveList.h"

#include <commctrl.h>

#include <algorithm>

#include "AccessibleNames.h"
#include "EntryMarks.h"
#include "WideText.h"

namespace varnock::win32 {
namespace {

constexpr UINT_PTR kDeleteKeySubclass = 1;

LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR postedMessage) {
    if (message == WM_KEYDOWN && wParam == VK_DELETE) {
        ::PostMessageW(::GetParent(list), static_cast<UINT>(postedMessage), 0, 0);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(list, listProc, kDeleteKeySubclass);
    }
    return ::DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void forgetDescriptions(HWND list) {
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT marks = ::SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        if (marks != LB_ERR && (marks & kEntryMissing)) {
            describeForScreenReaders(list, static_cast<DWORD>(i) + 1, nullptr);
        }
    }
}

void fillList(HWND list, const std::vector<ShownEntry>& entries) {
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    forgetDescriptions(list);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    const bool anyMissing =
        std::any_of(entries.begin(), entries.end(), [](const ShownEntry& e) { return e.missing; });
    for (const ShownEntry& entry : entries) {
        const std::wstring text = wide(entry.name);
        const LRESULT index =
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index < 0) {
            continue;
        }
        LPARAM marks = 0;
        if (entry.missing) {
            marks = kEntryMissing;
            describeForScreenReaders(list, static_cast<DWORD>(index) + 1, kNotFoundText);
        } else if (anyMissing) {
            marks = kEntryIndented;
        }
        ::SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), marks);
        if (entry.selected) {
            ::SendMessageW(list, LB_SETSEL, TRUE, index);
        }
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

std::vector<SlotIndex> selectedIn(HWND list) {
    const LRESULT count = ::SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) {
        return {};
    }
    std::vector<int> items(static_cast<std::size_t>(count));
    const LRESULT got = ::SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                       reinterpret_cast<LPARAM>(items.data()));
    items.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return {items.begin(), items.end()};
}

void bringIntoSight(HWND list, SlotIndex entry) {
    RECT client{};
    ::GetClientRect(list, &client);
    const auto itemHeight = static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int visible = itemHeight > 0 ? std::max(1, int(client.bottom) / itemHeight) : 1;
    const auto top = static_cast<int>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    if (entry < top) {
        ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(entry), 0);
    } else if (entry >= top + visible) {
        ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(entry - visible + 1), 0);
    }
}

void postDeleteKey(HWND list, UINT message) {
    ::SetWindowSubclass(list, listProc, kDeleteKeySubclass, message);
}

}  // namespace varnock::win32
