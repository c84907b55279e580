// SPDX-License-Identifier: GPL-3.0-or-later
// The window's rules, whatever draws it: the two selections, the list of registered archives
// and what each button, key and change of the settings file does to them. A window forwards
// its events here and shows what the session tells its MainWindowView.
#pragma once

#include <string>
#include <vector>

#include <optional>

#include "ArchiveSlotTable.h"
#include "ListEntry.h"
#include "MainWindowView.h"
#include "SlotLayout.h"

namespace varnock {

struct FileKind;

class MainWindowSession {
public:
    explicit MainWindowSession(MainWindowView& view) : m_view(view) {}

    // "Select BSA": the archive chosen through the dialog, if it passes the extension test.
    void chooseArchive();
    // "Select INI": the settings file chosen, read and listed, then watched. A file that
    // cannot be read is told, and the former choice and list stay.
    void chooseSettingsFile();
    // Files dropped on the window: one archive or one settings file is taken as if chosen
    // through its button. acceptsDrop tells, while they are dragged, whether dropFiles would
    // take them; anything else, or several files, changes nothing.
    bool acceptsDrop(const std::vector<std::string>& paths) const;
    void dropFiles(const std::vector<std::string>& paths);
    // "Register Archive"; the list is refilled unless nothing was changed.
    void registerChosenArchive();
    // "Unregister Archive", or Delete in the list; the list is refilled unless it was empty,
    // and its current entry stays where the first removed entry stood.
    void unregisterSelected();
    // Alt+Up and Alt+Down in the list: the selected entries move one slot, staying selected.
    void moveSelected(MoveDirection direction);
    // The list's context menu for the selection as it is now, and what its items do.
    std::vector<ListMenuItem> listMenu() const;
    void run(ListCommand command);

    // The settings file or its "Data Files" folder may have changed: the list shows them as
    // they are now, and entries that still show the same name stay selected. Returns false when
    // this must wait (an action runs or a dialog is open): the window calls again a moment later.
    bool followSettingsFile();

    const std::string& archivePath() const { return m_archivePath; }
    const std::string& iniPath() const { return m_iniPath; }
    // The list as shown, with each entry's slot.
    const std::vector<ListEntry>& entries() const { return m_entries; }

private:
    // Runs one action; anything it throws is told instead of ending the program, and the list
    // then shows the file as it is.
    template <typename Action>
    void guarded(Action action);
    void recoverFrom(const char* what) noexcept;
    // The chosen path of kind, or an empty text. The dialog opens in the folder of the last
    // file chosen of that kind (of the other kind before the first), or the nearest folder
    // above it that still exists.
    std::string choose(const FileKind& kind);
    std::string& lastFolderOf(const FileKind& kind);
    void takeArchive(std::string path);
    void takeSettingsFile(std::string path);
    // Fills the list from the chosen settings file; a file that cannot be read empties the
    // list and is told, rather than shown as one with nothing registered.
    void refreshList();
    // Shows the file's filled slots; those in selectedSlots (or, with keepSelection, those the
    // user had selected that still show the same name) are selected.
    void show(const SlotSnapshot& slots, bool keepSelection,
              const std::vector<SlotIndex>& selectedSlots = {});
    // The list with the user's selection.
    std::vector<ListEntry> listWithSelection() const;
    std::optional<int> positionOf(SlotIndex slot) const;

    MainWindowView& m_view;
    std::string m_archivePath;
    std::string m_iniPath;
    std::vector<ListEntry> m_entries;  // as shown, none selected
    std::vector<ShownEntry> m_shown;   // with their marks, none selected
    std::string m_archiveFolder;       // where the last archive was chosen
    std::string m_settingsFolder;      // where the last settings file was chosen
    bool m_acting = false;
};

}  // namespace varnock
