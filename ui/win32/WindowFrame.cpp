// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFrame.h"

#include "WindowLayout.h"

namespace varnock::win32 {

void registerMainWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, L"IDI_ICON1");
    windowClass.hIconSm = static_cast<HICON>(
        ::LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                     ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    ::RegisterClassExW(&windowClass);
}

SIZE designedFrameSize(UINT dpi) {
    const PixelRect client = clientArea(static_cast<int>(dpi));
    RECT frame{0, 0, client.width, client.height};
    ::AdjustWindowRectExForDpi(&frame, kMainWindowStyle, FALSE, kMainWindowExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void keepDesignedMinimum(MINMAXINFO& limits, UINT dpi) {
    const SIZE frame = designedFrameSize(dpi);
    limits.ptMinTrackSize = {frame.cx, frame.cy};
}

bool belowDesignedMinimum(const WINDOWPOS& place, UINT dpi) {
    if ((place.flags & SWP_NOSIZE) || ::IsIconic(place.hwnd) || ::IsZoomed(place.hwnd)) {
        return false;
    }
    const SIZE frame = designedFrameSize(dpi);
    return place.cx < frame.cx || place.cy < frame.cy;
}

}  // namespace varnock::win32
