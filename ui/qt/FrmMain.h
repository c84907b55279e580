// SPDX-License-Identifier: GPL-3.0-or-later
// The only window, in Qt: lays out the controls, forwards their events to the window session
// and shows what the session decides.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "CopyProgressView.h"
#include "FileChooser.h"
#include "MainWindowSession.h"
#include "MainWindowView.h"
#include "UserPrompts.h"

class ArchiveListWidget;
class PathLabel;
class SettingsFileWatcher;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;
class QPushButton;
class QResizeEvent;

class FrmMain final : public QWidget, private varnock::MainWindowView {
    Q_OBJECT

public:
    explicit FrmMain(QWidget* parent = nullptr);
    ~FrmMain() override;

    // Seams for tests; by default the real dialog and message boxes are used.
    void setFileChooser(std::unique_ptr<varnock::FileChooser> chooser);
    void setPrompts(std::unique_ptr<varnock::UserPrompts> prompts);
    void setCopyProgressView(std::unique_ptr<varnock::CopyProgressView> progress);

    QString archivePath() const;
    QString iniPath() const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showArchivePath(const std::string& path) override;
    void showIniPath(const std::string& path) override;
    void showList(const std::vector<varnock::ShownEntry>& entries) override;
    std::vector<int> selectedEntries() const override;
    void scrollToEntry(int position) override;
    void setCurrentEntry(int position) override;
    void watchSettingsFile(const std::string& path) override;
    bool modalDialogOpen() const override;
    varnock::UserPrompts& prompts() override { return *m_prompts; }
    varnock::CopyProgressView& copyProgress() override { return *m_copyProgress; }
    varnock::FileChooser& fileChooser() override { return *m_cdlChoose; }

    void followFileChange();
    // The dragged files as paths, in the system's form; a dragged item that is not a local file
    // stands as an empty path, which no choice accepts.
    static std::vector<std::string> draggedPaths(const QMimeData* data);

    PathLabel* m_lblArchive;
    PathLabel* m_lblIni;
    QPushButton* m_cmdArchive;
    QPushButton* m_cmdIni;
    ArchiveListWidget* m_lstArchives;
    QPushButton* m_cmdUnpatch;
    QPushButton* m_cmdPatch;
    std::unique_ptr<varnock::FileChooser> m_cdlChoose;
    std::unique_ptr<varnock::UserPrompts> m_prompts;
    std::unique_ptr<varnock::CopyProgressView> m_copyProgress;
    SettingsFileWatcher* m_watcher;
    varnock::MainWindowSession m_session;
};
