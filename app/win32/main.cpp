// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include "MainWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    // The file dialog, the screen readers' names and files dropped on the window are COM and
    // OLE services of this thread.
    const HRESULT com = ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS |
                                                        ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    int status = 1;
    {
        varnock::win32::MainWindow window;
        if (window.create(instance, show)) {
            MSG message;
            while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
                // The dialog manager gives the window Tab, Shift+Tab, Enter and Space.
                if (!::IsDialogMessageW(window.handle(), &message)) {
                    ::TranslateMessage(&message);
                    ::DispatchMessageW(&message);
                }
            }
            status = static_cast<int>(message.wParam);
        }
    }
    if (SUCCEEDED(com)) {
        ::OleUninitialize();
    }
    return status;
}
