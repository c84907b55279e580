// SPDX-License-Identifier: GPL-3.0-or-later
// The only window: the two selections, the list of registered archives and the actions.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "ArchiveSlotTable.h"
#include "CopyProgressView.h"
#include "FileChooser.h"
#include "UserPrompts.h"

struct FileKind;
class PathLabel;
class SettingsFileWatcher;
class QListWidget;
class QPushButton;

class FrmMain final : public QWidget {
    Q_OBJECT

public:
    explicit FrmMain(QWidget* parent = nullptr);
    ~FrmMain() override;

    // Seams for tests; by default the real dialog and message boxes are used.
    void setFileChooser(std::unique_ptr<FileChooser> chooser);
    void setPrompts(std::unique_ptr<varnock::UserPrompts> prompts);
    void setCopyProgressView(std::unique_ptr<varnock::CopyProgressView> progress);

    QString archivePath() const;
    QString iniPath() const;

private:
    void selectArchive();
    void selectIni();
    void registerChosenArchive();
    void unregisterSelectedArchives();
    using Action = void (FrmMain::*)();
    void connectAction(QPushButton* button, Action action);
    // Runs one button's action; an unexpected error is shown instead of ending the program.
    void runAction(Action action);
    void recoverFrom(const char* what) noexcept;
    // The file of kind chosen through the dialog that opener opened, or an empty text.
    // Keyboard focus goes back to opener.
    QString chooseFile(const FileKind& kind, QPushButton* opener);
    // Fills the list from the chosen settings file; a file that cannot be read empties the
    // list and is told, rather than shown as one with nothing registered.
    void refreshList();
    // Refills the list after another program changed the settings file, keeping the selection
    // of entries that still show the same name; waits while a dialog or an action runs.
    void followFileChange();
    void showSlots(const std::vector<varnock::ArchiveSlot>& registered, bool keepSelection);

    PathLabel* m_lblArchive;
    PathLabel* m_lblIni;
    QPushButton* m_cmdArchive;
    QPushButton* m_cmdIni;
    QListWidget* m_lstArchives;
    QPushButton* m_cmdUnpatch;
    QPushButton* m_cmdPatch;
    std::unique_ptr<FileChooser> m_cdlChoose;
    std::unique_ptr<varnock::UserPrompts> m_prompts;
    std::unique_ptr<varnock::CopyProgressView> m_copyProgress;
    SettingsFileWatcher* m_watcher;
    bool m_acting = false;  // an action is running
};
