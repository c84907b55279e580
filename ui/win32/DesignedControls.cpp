// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesignedControls.h"

#include <commctrl.h>

#include <string>

#include "WideText.h"

namespace varnock::win32 {

int idOf(Control which) {
    return kFirstControlId + static_cast<int>(which);
}

bool isButton(Control which) {
    return which == Control::cmdArchive || which == Control::cmdINI || which == Control::cmdPatch ||
           which == Control::cmdUnpatch;
}

std::size_t indexOf(Control which) {
    return static_cast<std::size_t>(which);
}

HWND createControl(HWND parent, const ControlDesign& design) {
    const wchar_t* windowClass = WC_BUTTONW;
    DWORD style = WS_CHILD | WS_VISIBLE;
    switch (design.control) {
        case Control::cmdArchive:
        case Control::cmdINI:
        case Control::cmdPatch:
        case Control::cmdUnpatch:
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case Control::lblArchive:
        case Control::lblINI:
            windowClass = WC_STATICW;
            style |= SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS | SS_NOPREFIX | SS_NOTIFY;
            break;
        case Control::lstArchives:
            windowClass = WC_LISTBOXW;
            style |= WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_EXTENDEDSEL | LBS_NOTIFY |
                     LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED;
            break;
    }
    const std::wstring caption = wide(design.caption);
    return ::CreateWindowExW(0, windowClass, caption.c_str(), style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(design.control))),
                             ::GetModuleHandleW(nullptr), nullptr);
}

void placeControls(const ControlHandles& controls, UINT dpi, SIZE client) {
    for (const ControlDesign& design : kControls) {
        const HWND control = controls[indexOf(design.control)];
        if (!control) {
            continue;
        }
        const PixelRect place =
            placeOf(design.control, static_cast<int>(dpi), client.cx, client.cy);
        // Each control drawn anew where it now stands, rather than its old drawing moved: a
        // path label shortens its path to its new width, and no button leaves its old face
        // behind.
        ::SetWindowPos(control, nullptr, place.left, place.top, place.width, place.height,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
}

}  // namespace varnock::win32
