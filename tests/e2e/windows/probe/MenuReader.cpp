// SPDX-License-Identifier: GPL-3.0-or-later
// The probe's hook into Varnock's window thread: a popup menu's items can be read only inside
// the process that made the menu (Wine keeps menus there), so the probe's message to an open
// menu's window is answered here, through the shared memory the probe made:
// one line for each item, "<enabled 0|1><highlighted 0|1><caption>".
#include <windows.h>

#include "MenuReading.h"

namespace {

class Writer {
public:
    Writer(wchar_t* out, std::size_t room) : m_out(out), m_room(room) {}
    void put(const wchar_t* text) {
        for (; *text && m_used + 1 < m_room; ++text) {
            m_out[m_used++] = *text;
        }
        m_out[m_used] = L'\0';
    }

private:
    wchar_t* m_out;
    std::size_t m_room;
    std::size_t m_used = 0;
};

void writeItems(HMENU menu, Writer& out) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[256] = L"";
        ::GetMenuStringW(menu, UINT(i), caption, 256, MF_BYPOSITION);
        const UINT state = ::GetMenuState(menu, UINT(i), MF_BYPOSITION);
        out.put(state & (MF_GRAYED | MF_DISABLED) ? L"0" : L"1");
        out.put(state & MF_HILITE ? L"1" : L"0");
        out.put(caption);
        out.put(L"\n");
    }
}

void answer(HWND menuWindow) {
    const HANDLE mapping = ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, varnock::probe::kMenuMapping);
    if (!mapping) {
        return;
    }
    if (void* view = ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, varnock::probe::kMenuBytes)) {
        Writer out(static_cast<wchar_t*>(view), varnock::probe::kMenuBytes / sizeof(wchar_t));
        out.put(L"");
        writeItems(reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0)), out);
        ::UnmapViewOfFile(view);
    }
    ::CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    readMenuHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (sent.message == ::RegisterWindowMessageW(varnock::probe::kReadMenuMessage)) {
            answer(sent.hwnd);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
