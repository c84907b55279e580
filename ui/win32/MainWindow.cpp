// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include <commctrl.h>

#include <optional>
#include <utility>

#include "AccessibleNames.h"
#include "ArchiveList.h"
#include "DesignedControls.h"
#include "DroppedFiles.h"
#include "EntryTips.h"
#include "ListKeys.h"
#include "ListMenu.h"
#include "WideText.h"
#include "WindowFrame.h"
#include "WindowTitle.h"

namespace varnock::win32 {
namespace {

constexpr UINT kSettingsFileNotice = WM_APP + 1;
constexpr UINT kListKey = WM_APP + 2;
constexpr UINT kDroppedFiles = WM_APP + 3;
constexpr UINT kFrameToMinimum = WM_APP + 4;
constexpr UINT_PTR kFollowTimer = 1;
constexpr UINT kQuietMs = static_cast<UINT>(kSettleDelay.count());

// What a message whose handling threw answers.
LRESULT afterFailure(UINT message) noexcept {
    switch (message) {
        case WM_NCCREATE:
            return FALSE;
        case WM_CREATE:
            return -1;  // CreateWindowExW then fails, rather than show a window half made
        case WM_DESTROY:
            // The window is gone whatever failed: the program must not live on without it.
            ::PostQuitMessage(1);
            return 0;
        default:
            return 0;
    }
}

}  // namespace

MainWindow::~MainWindow() {
    if (m_window) {
        ::DestroyWindow(m_window);
    }
}

bool MainWindow::create(HINSTANCE instance, int show) {
    registerMainWindowClass(instance, windowProc);
    const HWND window = ::CreateWindowExW(
        kMainWindowExStyle, kMainWindowClass, kWindowTitle, kMainWindowStyle, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (!window) {
        return false;
    }
    ::ShowWindow(window, show);
    ::UpdateWindow(window);
    return true;
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = objectOf(window, message, lParam);
    if (!self) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->dispatch(window, message, wParam, lParam);
    } catch (...) {
        // The session tells the user of its own failures; what is left must not end the
        // program from inside the message loop.
        return afterFailure(message);
    }
}

MainWindow* MainWindow::objectOf(HWND window, UINT message, LPARAM lParam) {
    // Every message from WM_NCCREATE on, those of the window's creation too, reaches the object
    // that CreateWindowExW was given; none after WM_NCDESTROY, the window's last.
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_window = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return self;
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
    }
    return self;
}

LRESULT MainWindow::dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onCreate();
            return 0;
        case WM_SIZE:
            onSize(static_cast<UINT>(wParam), {LOWORD(lParam), HIWORD(lParam)});
            return 0;
        case WM_GETMINMAXINFO:
            onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_WINDOWPOSCHANGING:
            onWindowPosChanging(*reinterpret_cast<const WINDOWPOS*>(lParam));
            return ::DefWindowProcW(window, message, wParam, lParam);
        case kFrameToMinimum:
            onFrameToMinimum();
            return 0;
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

void MainWindow::onCreate() {
    m_prompts = std::make_unique<MessageBoxPrompts>(m_window, m_modal);
    m_copyProgress = std::make_unique<CopyProgressWindow>(m_window, m_modal);
    m_fileChooser = std::make_unique<OpenFileDialog>(m_window, m_modal);
    m_watch = std::make_unique<SettingsFileWatch>(m_window, kSettingsFileNotice);
    createControls();
    const UINT dpi = ::GetDpiForWindow(m_window);
    // The window opens at the design's size, which its DPI is known only now to give.
    const SIZE frame = designedFrameSize(dpi);
    ::SetWindowPos(m_window, nullptr, 0, 0, frame.cx, frame.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    layOut(dpi);
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
    m_font.createFor(dpi);
    m_font.applyTo(m_window);
    // An owner-drawn list keeps the height it was given, whatever its font.
    const HWND list = control(Control::lstArchives);
    ::SendMessageW(list, LB_SETITEMHEIGHT, 0, EntryPainter::lineHeight(list, m_font.get(), dpi));
    RECT client{};
    ::GetClientRect(m_window, &client);
    placeControls(m_controls, dpi, {client.right, client.bottom});
}

HWND MainWindow::control(Control which) const {
    return m_controls[indexOf(which)];
}

void MainWindow::onSize(UINT kind, SIZE client) {
    if (kind != SIZE_MINIMIZED) {
        placeControls(m_controls, ::GetDpiForWindow(m_window), client);
    }
}

void MainWindow::onGetMinMaxInfo(MINMAXINFO& limits) const {
    keepDesignedMinimum(limits, ::GetDpiForWindow(m_window));
}

void MainWindow::onWindowPosChanging(const WINDOWPOS& place) {
    // Once the system has raised the size to the minimum, after the window manager's resize.
    if (belowDesignedMinimum(place, ::GetDpiForWindow(m_window))) {
        ::PostMessageW(m_window, kFrameToMinimum, 0, 0);
    }
}

void MainWindow::onFrameToMinimum() {
    // Sets nothing new, but makes Wine give the window manager the window's size again.
    ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
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
    // The suggested place keeps the window where it was, at its size scaled to the new DPI.
    ::SetWindowPos(m_window, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
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
