// SPDX-License-Identifier: GPL-3.0-or-later
// What the window session asks of a window: show what it decided, and lend it the window's
// prompts, progress view and file dialog. Each front end implements it with its toolkit.
#pragma once

#include <string>
#include <vector>

#include "ArchiveSlotTable.h"
#include "WatchedPaths.h"

namespace varnock {

class CopyProgressView;
class FileChooser;
class UserPrompts;

// One entry of the list as the window shows it, with its marks. Entries stand in slot order;
// behind an empty slot, an entry's position is no longer its slot.
struct ShownEntry {
    std::string name;
    bool selected = false;
    bool missing = false;          // no such file in the "Data Files" folder
    bool notLoaded = false;        // behind an empty slot, where the other application stops
    bool registeredTwice = false;  // an earlier loaded entry names the same file
    // Why the entry is marked, for its tooltip and for screen readers; empty when it is not.
    std::string note;

    // The icon before the name: the gravest mark's, or none.
    enum class Icon { None, NotLoaded, Missing, RegisteredTwice };
    Icon icon() const {
        return notLoaded ? Icon::NotLoaded
               : missing ? Icon::Missing
                         : (registeredTwice ? Icon::RegisteredTwice : Icon::None);
    }
    // Drawn in the colour of disabled text: the other application will not load it.
    bool dimmed() const { return notLoaded || missing; }

    bool operator==(const ShownEntry&) const = default;
};

// What the list's context menu offers, each named by its caption.
enum class ListCommand { MoveUp, MoveDown, Unregister };
struct ListMenuItem {
    ListCommand command;
    std::string caption;
    bool enabled = false;
};

class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    virtual void showArchivePath(const std::string& path) = 0;
    virtual void showIniPath(const std::string& path) = 0;
    // Replaces the list's entries, each selected or not as given.
    virtual void showList(const std::vector<ShownEntry>& entries) = 0;
    // The positions of the entries the user has selected, in ascending order.
    virtual std::vector<int> selectedEntries() const = 0;
    // Brings the entry at position into sight without selecting it.
    virtual void scrollToEntry(int position) = 0;
    // Makes the entry at position the list's current one (where the arrow keys go on from),
    // without changing the selection.
    virtual void setCurrentEntry(int position) = 0;
    // Tells the session, through followSettingsFile, when the file at path or the "Data
    // Files" folder beside it may have changed (watchedPathsOf), once they have been quiet for
    // kSettleDelay; when followSettingsFile returns false, asks again kSettleDelay later.
    // Nothing for an empty path; a call replaces the former watch.
    virtual void watchSettingsFile(const std::string& path) = 0;
    // Whether a dialog or message box is open over the window.
    virtual bool modalDialogOpen() const = 0;

    virtual UserPrompts& prompts() = 0;
    virtual CopyProgressView& copyProgress() = 0;
    virtual FileChooser& fileChooser() = 0;
};

}  // namespace varnock
