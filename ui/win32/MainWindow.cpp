// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include <commctrl.h>

#include <optional>
#include <utility>

#include "AccessibleNames.h"
#include "ArchiveList.h"
#include "DroppedFiles.h"
#include "EntryTips.h"
#include "ListKeys.h"
#include "ListMenu.h"
#include "WideText.h"
#include "WindowTitle.h"

namespace varnock::win32 {
namespace {

constexpr wchar_t kClassName[] = L"VarnockMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr UINT kSettingsFileNotice = WM_APP + 1;
constexpr UINT kListKey = WM_APP + 2;
constexpr UINT kDroppedFiles = WM_APP + 3;
constexpr UINT_PTR kFollowTimer = 1;
// Long enough to let a burst of writes end, short enough that the list follows within a second.
constexpr UINT kQuietMs = 250;
// Control identifiers start above IDOK and IDCANCEL, which the dialog manager sends for Enter
// and Escape when no button is focused.
constexpr int kFirstId = 100;

std::size_t indexOf(Control which) {
    return static_cast<std::size_t>(which);
}

int idOf(Control which) {
    return kFirstId + static_cast<int>(which);
}

bool isButton(Control which) {
    return which == Control::cmdArchive || which == Control::cmdINI || which == Control::cmdPatch ||
           which == Control::cmdUnpatch;
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

void registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, L"IDI_ICON1");
    windowClass.hIconSm = static_cast<HICON>(
        ::LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                     ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass);
}

// The window's outer size for the design's client area at dpi.
SIZE frameSize(UINT dpi) {
    const PixelRect client = clientArea(static_cast<int>(dpi));
    RECT frame{0, 0, client.width, client.height};
    ::AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

MainWindow::~MainWindow() {
    if (m_window) {
        ::DestroyWindow(m_window);
    }
}

bool MainWindow::create(HINSTANCE instance, int show) {
    registerClass(instance);
    m_window =
        ::CreateWindowExW(kExStyle, kClassName, kWindowTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!m_window) {
        return false;
    }
    onCreate(m_window);
    ::ShowWindow(m_window, show);
    ::UpdateWindow(m_window);
    return true;
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->dispatch(window, message, wParam, lParam);
    } catch (...) {
        // The session tells the user of its own failures; what is left must not end the
        // program from inside the message loop.
        return 0;
    }
}

LRESULT MainWindow::dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            onActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case DM_GETDEFID:
            return defaultButton();
        case WM_TIMER:
            if (wParam == kFollowTimer) {
                onFollowTimer();
            }
            return 0;
        case kSettingsFileNotice:
            onSettingsFileNotice();
            return 0;
        case kListKey:
            onListKey(static_cast<ListCommand>(wParam));
            return 0;
        case WM_CONTEXTMENU:
            return onContextMenu(reinterpret_cast<HWND>(wParam), lParam)
                       ? 0
                       : ::DefWindowProcW(window, message, wParam, lParam);
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case kDroppedFiles:
            onDroppedFiles();
            return 0;
        case WM_MEASUREITEM:
            onMeasureEntry(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DRAWITEM:
            onDrawEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DESTROY:
            onDestroy();
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void MainWindow::onCreate(HWND window) {
    m_window = window;
    m_prompts = std::make_unique<MessageBoxPrompts>(window, m_modal);
    m_copyProgress = std::make_unique<CopyProgressWindow>(window, m_modal);
    m_fileChooser = std::make_unique<OpenFileDialog>(window, m_modal);
    m_watch = std::make_unique<SettingsFileWatch>(window, kSettingsFileNotice);
    createControls();
    layOut(::GetDpiForWindow(window));
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc));
    m_focus = control(kTabOrder.front());
    ::SetFocus(m_focus);
    acceptDrops();
}

void MainWindow::acceptDrops() {
    // As an OLE drop target the pointer refuses, while dragging, what would not be taken; where
    // OLE refuses the window, the shell's drop message still takes what is dropped.
    auto* target = new FileDropTarget(
        [this](const FileDropTarget::Paths& paths) { return m_session.acceptsDrop(paths); },
        [this](FileDropTarget::Paths paths) { takeAfterDrop(std::move(paths)); });
    if (SUCCEEDED(::RegisterDragDrop(m_window, target))) {
        m_dropTarget = target;
    } else {
        target->Release();
        ::DragAcceptFiles(m_window, TRUE);
    }
}

void MainWindow::createControls() {
    m_pathLabels.create(m_window);
    for (const ControlDesign& design : kControls) {
        m_controls[indexOf(design.control)] = createControl(m_window, design);
    }
    // The dialog manager's Tab follows the z-order.
    for (std::size_t i = 1; i < kTabOrder.size(); ++i) {
        ::SetWindowPos(control(kTabOrder[i]), control(kTabOrder[i - 1]), 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (const ControlDesign& design : kControls) {
        if (!isButton(design.control)) {
            nameForScreenReaders(control(design.control), wide(design.accessibleName).c_str());
        }
    }
    const HWND list = control(Control::lstArchives);
    // Readers that take a list's name from its window text; a list box draws none.
    ::SetWindowTextW(list, wide(kControls[indexOf(Control::lstArchives)].accessibleName).c_str());
    postListKeys(list, kListKey);
    addEntryTips(list);
    m_pathLabels.add(control(Control::lblArchive));
    m_pathLabels.add(control(Control::lblINI));
}

void MainWindow::layOut(UINT dpi) {
    const SIZE frame = frameSize(dpi);
    ::SetWindowPos(m_window, nullptr, 0, 0, frame.cx, frame.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ControlDesign& design : kControls) {
        const PixelRect place = placeOf(design.control, static_cast<int>(dpi));
        ::SetWindowPos(control(design.control), nullptr, place.left, place.top, place.width,
                       place.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_font.createFor(dpi);
    m_font.applyTo(m_window);
    // An owner-drawn list keeps the height it was given, whatever its font.
    const HWND list = control(Control::lstArchives);
    ::SendMessageW(list, LB_SETITEMHEIGHT, 0, EntryPainter::lineHeight(list, m_font.get(), dpi));
    ::InvalidateRect(list, nullptr, TRUE);
}

HWND MainWindow::control(Control which) const {
    return m_controls[indexOf(which)];
}

void MainWindow::onCommand(int id) {
    if (id == idOf(Control::cmdArchive)) {
        m_session.chooseArchive();
    } else if (id == idOf(Control::cmdINI)) {
        m_session.chooseSettingsFile();
    } else if (id == idOf(Control::cmdPatch)) {
        m_session.registerChosenArchive();
    } else if (id == idOf(Control::cmdUnpatch)) {
        m_session.unregisterSelected();
    }
}

void MainWindow::onActivate(bool active) {
    // What a dialog does for itself: the focus goes back where it was when the window is
    // active again, after a message box, the file dialog or another program.
    if (!active) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(m_window, focus)) {
            m_focus = focus;
        }
        return;
    }
    if (m_focus && ::IsWindow(m_focus)) {
        ::SetFocus(m_focus);
    }
}

void MainWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
    // The suggested place keeps the window where it was; its size comes from the design.
    ::SetWindowPos(m_window, nullptr, suggested.left, suggested.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    layOut(dpi);
}

LRESULT MainWindow::defaultButton() const {
    // Enter presses the focused button, as Space does.
    const HWND focus = ::GetFocus();
    for (const ControlDesign& design : kControls) {
        if (isButton(design.control) && control(design.control) == focus) {
            return MAKELRESULT(idOf(design.control), DC_HASDEFID);
        }
    }
    return 0;
}

void MainWindow::onSettingsFileNotice() {
    // Each notice restarts the wait: a burst of writes is followed once.
    ::SetTimer(m_window, kFollowTimer, kQuietMs, nullptr);
}

void MainWindow::onFollowTimer() {
    ::KillTimer(m_window, kFollowTimer);
    if (!m_session.followSettingsFile()) {
        ::SetTimer(m_window, kFollowTimer, kQuietMs, nullptr);
    }
}

void MainWindow::onDropFiles(HDROP drop) {
    std::vector<std::string> paths = takeDroppedPaths(drop);
    if (m_session.acceptsDrop(paths)) {
        takeAfterDrop(std::move(paths));
    }
}

void MainWindow::takeAfterDrop(std::vector<std::string> paths) {
    // A message shown from inside the drop would keep the drag's source waiting for its answer.
    m_dropped = std::move(paths);
    ::PostMessageW(m_window, kDroppedFiles, 0, 0);
}

void MainWindow::onDroppedFiles() {
    const std::vector<std::string> paths = std::exchange(m_dropped, {});
    if (!paths.empty()) {
        m_session.dropFiles(paths);
    }
}

void MainWindow::onListKey(ListCommand command) {
    // A key that waited in the queue until a dialog's own loop took it must not start a second
    // action under that dialog.
    if (!m_modal.any()) {
        m_session.run(command);
    }
}

bool MainWindow::onContextMenu(HWND from, LPARAM at) {
    const HWND list = control(Control::lstArchives);
    const auto place = from == list && !m_modal.any() ? menuPlace(list, at) : std::nullopt;
    if (!place) {
        return false;
    }
    ::SetFocus(list);
    if (!fromKeyboard(at)) {
        POINT inList = *place;
        ::ScreenToClient(list, &inList);
        selectForMenuAt(list, inList);
    }
    std::optional<ListCommand> chosen;
    {
        // The list stays as the menu was built for while it is open.
        const ModalCount::Scope open(m_modal);
        chosen = chooseFromMenu(m_window, *place, m_session.listMenu());
    }
    if (chosen) {
        m_session.run(*chosen);
    }
    ::SetFocus(list);
    return true;
}

void MainWindow::onMeasureEntry(MEASUREITEMSTRUCT& item) const {
    const HWND list = control(Control::lstArchives);
    item.itemHeight = static_cast<UINT>(
        EntryPainter::lineHeight(list, m_font.get(), ::GetDpiForWindow(m_window)));
}

void MainWindow::onDrawEntry(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem == control(Control::lstArchives)) {
        m_entryPainter.draw(item, ::GetDpiForWindow(m_window));
    }
}

void MainWindow::onDestroy() {
    m_watch.reset();
    if (m_dropTarget) {
        ::RevokeDragDrop(m_window);
        std::exchange(m_dropTarget, nullptr)->Release();
    } else {
        ::DragAcceptFiles(m_window, FALSE);
    }
    forgetDescriptions(control(Control::lstArchives));
    ::KillTimer(m_window, kFollowTimer);
    for (const ControlDesign& design : kControls) {
        if (!isButton(design.control)) {
            forgetScreenReaderName(control(design.control));
        }
    }
    m_window = nullptr;
    ::PostQuitMessage(0);
}

void MainWindow::showArchivePath(const std::string& path) {
    m_pathLabels.setPath(control(Control::lblArchive), path);
}

void MainWindow::showIniPath(const std::string& path) {
    m_pathLabels.setPath(control(Control::lblINI), path);
}

void MainWindow::showList(const std::vector<ShownEntry>& entries) {
    fillList(control(Control::lstArchives), entries);
}

std::vector<int> MainWindow::selectedEntries() const {
    return selectedIn(control(Control::lstArchives));
}

void MainWindow::scrollToEntry(int position) {
    bringIntoSight(control(Control::lstArchives), position);
}

void MainWindow::setCurrentEntry(int position) {
    makeCurrent(control(Control::lstArchives), position);
}

void MainWindow::watchSettingsFile(const std::string& path) {
    if (m_watch) {
        m_watch->watch(path);
    }
}

bool MainWindow::modalDialogOpen() const {
    return m_modal.any();
}

}  // namespace varnock::win32
