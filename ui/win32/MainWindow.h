// SPDX-License-Identifier: GPL-3.0-or-later
// The only window: the two selections, the list of registered archives and the actions. It
// hands each button, key and notice of a change to the session and shows what the session
// decides.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "CopyProgressWindow.h"
#include "DesignedControls.h"
#include "EntryPainter.h"
#include "FileDropTarget.h"
#include "MainWindowSession.h"
#include "MainWindowView.h"
#include "MessageBoxPrompts.h"
#include "MessageFont.h"
#include "ModalCount.h"
#include "OpenFileDialog.h"
#include "PathLabels.h"
#include "SettingsFileWatch.h"
#include "WindowLayout.h"

namespace varnock::win32 {

class MainWindow final : public MainWindowView {
public:
    MainWindow() = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    // Creates and shows the window; false if the system refused.
    bool create(HINSTANCE instance, int show);
    HWND handle() const { return m_window; }

    void showArchivePath(const std::string& path) override;
    void showIniPath(const std::string& path) override;
    void showList(const std::vector<ShownEntry>& entries) override;
    std::vector<int> selectedEntries() const override;
    void scrollToEntry(int position) override;
    void setCurrentEntry(int position) override;
    void watchSettingsFile(const std::string& path) override;
    bool modalDialogOpen() const override;
    UserPrompts& prompts() override { return *m_prompts; }
    CopyProgressView& copyProgress() override { return *m_copyProgress; }
    FileChooser& fileChooser() override { return *m_fileChooser; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static MainWindow* objectOf(HWND window, UINT message, LPARAM lParam);
    LRESULT dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onCreate();
    void onSize(UINT kind, SIZE client);
    void onGetMinMaxInfo(MINMAXINFO& limits) const;
    void onWindowPosChanging(const WINDOWPOS& place);
    void onFrameToMinimum();
    void onCommand(int id);
    void onActivate(bool active);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void onSettingsFileNotice();
    void onFollowTimer();
    void acceptDrops();
    void onDropFiles(HDROP drop);
    void takeAfterDrop(std::vector<std::string> paths);
    void onDroppedFiles();
    void onListKey(ListCommand command);
    // Whether the menu asked for was the list's, and shown.
    bool onContextMenu(HWND from, LPARAM at);
    void onMeasureEntry(MEASUREITEMSTRUCT& item) const;
    void onDrawEntry(const DRAWITEMSTRUCT& item);
    void onDestroy();
    LRESULT defaultButton() const;
    void createControls();
    void layOut(UINT dpi);
    HWND control(Control which) const;

    HWND m_window = nullptr;
    ControlHandles m_controls{};
    HWND m_focus = nullptr;  // the control that had the focus when the window was deactivated
    MessageFont m_font;
    PathLabels m_pathLabels;
    ModalCount m_modal;
    std::unique_ptr<MessageBoxPrompts> m_prompts;
    std::unique_ptr<CopyProgressWindow> m_copyProgress;
    std::unique_ptr<OpenFileDialog> m_fileChooser;
    std::unique_ptr<SettingsFileWatch> m_watch;
    EntryPainter m_entryPainter;
    FileDropTarget* m_dropTarget = nullptr;  // null where the shell's drop message is used
    std::vector<std::string> m_dropped;      // taken once the drop has ended
    MainWindowSession m_session{*this};
};

}  // namespace varnock::win32
