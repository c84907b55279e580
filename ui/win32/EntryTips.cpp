// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryTips.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "MessageFont.h"

namespace varnock::win32 {
namespace {

constexpr UINT_PTR kTipsSubclass = 2;
// Where setEntryNotes finds the tips of a list.
constexpr wchar_t kTipsProperty[] = L"VarnockEntryTips";

// Wide enough for a note's line; each further line of a note starts a line of the tip.
constexpr int kTipWidth = 480;

struct Tips {
    HWND tip = nullptr;
    LRESULT hovered = -1;
    std::vector<std::wstring> notes;  // one for each entry
};

LRESULT entryUnder(HWND list, POINT point) {
    const LRESULT hit = ::SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    return HIWORD(hit) == 0 ? LOWORD(hit) : -1;
}

const wchar_t* noteOf(const Tips& tips, LRESULT entry) {
    if (entry < 0 || static_cast<std::size_t>(entry) >= tips.notes.size()) {
        return L"";
    }
    return tips.notes[static_cast<std::size_t>(entry)].c_str();
}

// Moving to another entry starts the tip again, with that entry's text or none.
void onMouseMove(HWND list, Tips& tips, LPARAM at) {
    const LRESULT entry = entryUnder(list, {GET_X_LPARAM(at), GET_Y_LPARAM(at)});
    if (entry != tips.hovered) {
        tips.hovered = entry;
        ::SendMessageW(tips.tip, TTM_POP, 0, 0);
        ::SendMessageW(tips.tip, TTM_ACTIVATE, FALSE, 0);
        ::SendMessageW(tips.tip, TTM_ACTIVATE, TRUE, 0);
    }
}

void onGetText(HWND list, const Tips& tips, NMTTDISPINFOW& info) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(list, &cursor);
    // Without a width the tip would show a note's lines as one; at the list's DPI now.
    ::SendMessageW(tips.tip, TTM_SETMAXTIPWIDTH, 0, scaled(kTipWidth, ::GetDpiForWindow(list)));
    // An empty text shows no tip.
    info.lpszText = const_cast<wchar_t*>(noteOf(tips, entryUnder(list, cursor)));
}

// Whether the notice was the tip asking for its text.
bool onNotify(HWND list, const Tips& tips, NMHDR& header) {
    if (header.hwndFrom != tips.tip || header.code != TTN_GETDISPINFOW) {
        return false;
    }
    onGetText(list, tips, reinterpret_cast<NMTTDISPINFOW&>(header));
    return true;
}

void forget(HWND list, Tips& tips);

LRESULT CALLBACK tipsProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
    auto& tips = *reinterpret_cast<Tips*>(data);
    switch (message) {
        case WM_MOUSEMOVE:
            onMouseMove(list, tips, lParam);
            break;
        case LB_RESETCONTENT:
            // The list is refilled: the entry the tip speaks of may be gone from under the pointer.
            tips.hovered = -1;
            tips.notes.clear();
            ::SendMessageW(tips.tip, TTM_POP, 0, 0);
            break;
        case WM_NOTIFY:
            if (onNotify(list, tips, *reinterpret_cast<NMHDR*>(lParam))) {
                return 0;
            }
            break;
        case WM_NCDESTROY:
            forget(list, tips);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(list, message, wParam, lParam);
}

void forget(HWND list, Tips& tips) {
    ::RemoveWindowSubclass(list, tipsProc, kTipsSubclass);
    ::RemovePropW(list, kTipsProperty);
    ::DestroyWindow(tips.tip);
    delete &tips;
}

}  // namespace

void addEntryTips(HWND list) {
    const HWND tip = ::CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, ::GetAncestor(list, GA_ROOT),
        nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!tip) {
        return;  // the mark and the description still tell it
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = list;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    auto* tips = new Tips{tip, -1, {}};
    ::SetPropW(list, kTipsProperty, tips);
    ::SetWindowSubclass(list, tipsProc, kTipsSubclass, reinterpret_cast<DWORD_PTR>(tips));
}

void setEntryNotes(HWND list, std::vector<std::wstring> notes) {
    if (auto* tips = static_cast<Tips*>(::GetPropW(list, kTipsProperty))) {
        tips->notes = std::move(notes);
    }
}

}  // namespace varnock::win32
