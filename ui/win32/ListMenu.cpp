// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListMenu.h"

#include <windowsx.h>

#include <algorithm>

#include "WideText.h"

namespace varnock::win32 {
namespace {

// Below the current entry's start, within the list's client area; its top left corner when
// there is no entry or it is out of sight.
POINT atCurrentEntry(HWND list) {
    RECT client{};
    ::GetClientRect(list, &client);
    POINT place{client.left, client.top};
    const LRESULT current = ::SendMessageW(list, LB_GETCARETINDEX, 0, 0);
    RECT item{};
    if (current >= 0 && ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(current),
                                       reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
        const int height = static_cast<int>(item.bottom - item.top);
        place.x = item.left + height;
        place.y = std::clamp<LONG>(item.bottom, client.top, client.bottom);
    }
    ::ClientToScreen(list, &place);
    return place;
}

}  // namespace

bool fromKeyboard(LPARAM at) {
    return GET_X_LPARAM(at) == -1 && GET_Y_LPARAM(at) == -1;
}

std::optional<POINT> menuPlace(HWND list, LPARAM at) {
    if (fromKeyboard(at)) {
        return atCurrentEntry(list);
    }
    POINT place{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    POINT inList = place;
    ::ScreenToClient(list, &inList);
    RECT client{};
    ::GetClientRect(list, &client);
    if (!::PtInRect(&client, inList)) {
        return std::nullopt;
    }
    return place;
}

std::optional<ListCommand> chooseFromMenu(HWND owner, POINT place,
                                          const std::vector<ListMenuItem>& items) {
    const HMENU menu = ::CreatePopupMenu();
    if (!menu) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::wstring caption = wide(items[i].caption);
        // Item identifiers start at 1: 0 is what the menu returns when nothing was chosen.
        ::AppendMenuW(menu, MF_STRING | (items[i].enabled ? MF_ENABLED : MF_GRAYED), i + 1,
                      caption.c_str());
    }
    const UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN |
                       (::GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : 0);
    const auto chosen =
        static_cast<std::size_t>(::TrackPopupMenuEx(menu, flags, place.x, place.y, owner, nullptr));
    ::DestroyMenu(menu);
    if (chosen == 0 || chosen > items.size() || !items[chosen - 1].enabled) {
        return std::nullopt;
    }
    return items[chosen - 1].command;
}

}  // namespace varnock::win32
