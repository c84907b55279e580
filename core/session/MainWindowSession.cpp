// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowSession.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>

#include "CopyProgressView.h"
#include "EntryMarks.h"
#include "FileChooser.h"
#include "FileKind.h"
#include "PathHelpers.h"
#include "Registration.h"
#include "Reordering.h"
#include "Unregistration.h"
#include "UserPrompts.h"
#include "VirtualStore.h"

namespace varnock {
namespace {

// The folder itself, or the nearest one above it that still exists; empty when none does.
std::string nearestExistingFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::path path = pathFromUtf8(folder);
    while (!path.empty() && !std::filesystem::is_directory(path, error)) {
        const std::filesystem::path parent = path.parent_path();
        if (parent == path) {
            return {};
        }
        path = parent;
    }
    return utf8FromPath(path);
}

Result<SlotSnapshot> slotsOf(const std::string& iniPath) {
    return ArchiveSlotTable(pathFromUtf8(iniPath)).snapshot();
}

// Clears the flag however the action ends.
class Acting {
public:
    explicit Acting(bool& flag) : m_flag(flag) { m_flag = true; }
    Acting(const Acting&) = delete;
    Acting& operator=(const Acting&) = delete;
    ~Acting() { m_flag = false; }

private:
    bool& m_flag;
};

}  // namespace

template <typename Action>
void MainWindowSession::guarded(Action action) {
    const Acting acting(m_acting);
    try {
        action();
    } catch (const std::bad_alloc&) {
        recoverFrom("there is not enough memory left.");
    } catch (const std::exception& error) {
        recoverFrom(error.what());
    } catch (...) {
        recoverFrom("an unexpected error");
    }
}

void MainWindowSession::recoverFrom(const char* what) noexcept {
    // Whatever fails here (memory may be short) must not end the program: the list is emptied
    // rather than left showing what could not be read, and the user is told if possible.
    try {
        m_view.prompts().showWarning(std::string("Varnock could not finish: ") + what);
    } catch (...) {
    }
    try {
        refreshList();
    } catch (...) {
        try {
            m_entries.clear();
            m_shown.clear();
            m_view.showList({});
        } catch (...) {
        }
    }
}

std::string& MainWindowSession::lastFolderOf(const FileKind& kind) {
    return &kind == &kArchiveFile ? m_archiveFolder : m_settingsFolder;
}

std::string MainWindowSession::choose(const FileKind& kind) {
    const std::string& own = lastFolderOf(kind);
    const std::string& other = lastFolderOf(&kind == &kArchiveFile ? kSettingsFile : kArchiveFile);
    std::string chosen =
        m_view.fileChooser().chooseFile(kind, nearestExistingFolder(own.empty() ? other : own));
    if (chosen.empty()) {
        return {};
    }
    lastFolderOf(kind) = folderOf(chosen);
    return kind.matches(chosen) ? chosen : std::string();
}

void MainWindowSession::chooseArchive() {
    guarded([this] {
        if (std::string chosen = choose(kArchiveFile); !chosen.empty()) {
            takeArchive(std::move(chosen));
        }
    });
}

void MainWindowSession::chooseSettingsFile() {
    guarded([this] {
        if (std::string chosen = choose(kSettingsFile); !chosen.empty()) {
            takeSettingsFile(std::move(chosen));
        }
    });
}

bool MainWindowSession::acceptsDrop(const std::vector<std::string>& paths) const {
    return !m_acting && paths.size() == 1 &&
           (kArchiveFile.matches(paths.front()) || kSettingsFile.matches(paths.front()));
}

void MainWindowSession::dropFiles(const std::vector<std::string>& paths) {
    if (!acceptsDrop(paths)) {
        return;
    }
    guarded([this, &paths] {
        if (kArchiveFile.matches(paths.front())) {
            takeArchive(paths.front());
        } else {
            takeSettingsFile(paths.front());
        }
    });
}

void MainWindowSession::takeArchive(std::string path) {
    m_archivePath = std::move(path);
    m_view.showArchivePath(m_archivePath);
}

void MainWindowSession::takeSettingsFile(std::string path) {
    const auto slots = slotsOf(path);
    if (!slots) {
        // The former choice stays: an unreadable file would list as if nothing were registered.
        m_view.prompts().showWarning(slots.reason());
        return;
    }
    m_iniPath = std::move(path);
    m_view.showIniPath(m_iniPath);
    m_view.watchSettingsFile(m_iniPath);
    show(slots.value(), false);
    if (const auto copy = virtualStoreCopy(m_iniPath, ProgramFolders::fromEnvironment())) {
        m_view.prompts().showMessage(virtualStoreNotice(*copy));
        // Choosing the copy is then one click on its name.
        m_settingsFolder = folderOf(*copy);
    }
}

void MainWindowSession::registerChosenArchive() {
    guarded([this] {
        ProgramFolderPrompts prompts(m_view.prompts(), m_iniPath,
                                     ProgramFolders::fromEnvironment());
        const auto result =
            registerArchive(m_archivePath, m_iniPath, prompts, m_view.copyProgress(),
                            dataFilesFolders(m_iniPath, ProgramFolders::fromEnvironment()));
        if (result.outcome == RegistrationOutcome::NotRegistered) {
            return;
        }
        refreshList();
        if (result.outcome == RegistrationOutcome::Registered) {
            if (const auto position = positionOf(result.slot)) {
                m_view.scrollToEntry(*position);
            }
        }
    });
}

std::vector<ListEntry> MainWindowSession::listWithSelection() const {
    std::vector<ListEntry> list = m_entries;
    for (const int position : m_view.selectedEntries()) {
        if (position >= 0 && static_cast<std::size_t>(position) < list.size()) {
            list[static_cast<std::size_t>(position)].selected = true;
        }
    }
    return list;
}

std::optional<int> MainWindowSession::positionOf(SlotIndex slot) const {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].slot == slot) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

void MainWindowSession::unregisterSelected() {
    guarded([this] {
        const std::vector<ListEntry> list = listWithSelection();
        const auto firstSelected = std::find_if(
            list.begin(), list.end(), [](const ListEntry& entry) { return entry.selected; });
        ProgramFolderPrompts prompts(m_view.prompts(), m_iniPath,
                                     ProgramFolders::fromEnvironment());
        // The list shows the file as it is afterwards, whatever came of it, unless it was empty.
        if (varnock::unregisterSelected(m_iniPath, list, prompts) == Unregistration::EmptyList) {
            return;
        }
        refreshList();
        // The place the user worked at stays current, as in a file manager.
        if (firstSelected != list.end() && !m_entries.empty()) {
            m_view.setCurrentEntry(std::min(static_cast<int>(firstSelected - list.begin()),
                                            static_cast<int>(m_entries.size()) - 1));
        }
    });
}

void MainWindowSession::moveSelected(MoveDirection direction) {
    guarded([this, direction] {
        const std::vector<ListEntry> list = listWithSelection();
        if (!canMoveSelected(list, direction)) {
            return;
        }
        ProgramFolderPrompts prompts(m_view.prompts(), m_iniPath,
                                     ProgramFolders::fromEnvironment());
        const auto moved = varnock::moveSelected(m_iniPath, list, direction, prompts);
        if (!moved) {
            refreshList();  // the file as it is now, after a refusal
            return;
        }
        const auto slots = slotsOf(m_iniPath);
        if (!slots) {
            refreshList();
            return;
        }
        show(slots.value(), false, *moved);
        if (const auto first = moved->empty() ? std::nullopt : positionOf(moved->front())) {
            m_view.setCurrentEntry(*first);
            m_view.scrollToEntry(*first);
        }
    });
}

std::vector<ListMenuItem> MainWindowSession::listMenu() const {
    const std::vector<ListEntry> list = listWithSelection();
    const bool anySelected = std::any_of(list.begin(), list.end(),
                                         [](const ListEntry& entry) { return entry.selected; });
    return {{ListCommand::MoveUp, "Move Up", canMoveSelected(list, MoveDirection::Up)},
            {ListCommand::MoveDown, "Move Down", canMoveSelected(list, MoveDirection::Down)},
            {ListCommand::Unregister, "Unregister", anySelected}};
}

void MainWindowSession::run(ListCommand command) {
    switch (command) {
        case ListCommand::MoveUp:
            moveSelected(MoveDirection::Up);
            break;
        case ListCommand::MoveDown:
            moveSelected(MoveDirection::Down);
            break;
        case ListCommand::Unregister:
            unregisterSelected();
            break;
    }
}

bool MainWindowSession::followSettingsFile() {
    if (m_acting || m_view.modalDialogOpen()) {
        return false;
    }
    try {
        // A file that cannot be read now is told by the next action that needs it; the list is
        // not emptied under the user's eyes for what may be a passing state.
        if (const auto slots = slotsOf(m_iniPath)) {
            show(slots.value(), true);
        }
    } catch (...) {
        // Told by the next action, like a file that cannot be read.
    }
    return true;
}

void MainWindowSession::refreshList() {
    const auto slots = slotsOf(m_iniPath);
    if (!slots) {
        m_entries.clear();
        m_shown.clear();
        m_view.showList({});
        m_view.prompts().showWarning(slots.reason());
        return;
    }
    show(slots.value(), false);
}

void MainWindowSession::show(const SlotSnapshot& slots, bool keepSelection,
                             const std::vector<SlotIndex>& selectedSlots) {
    const std::vector<ArchiveSlot> filled = slots.filled();
    std::vector<ShownEntry> shown = markedEntries(
        filled, slots.firstEmpty(), dataFilesFolders(m_iniPath, ProgramFolders::fromEnvironment()));
    if (keepSelection && shown == m_shown &&
        std::equal(filled.begin(), filled.end(), m_entries.begin(), m_entries.end(),
                   [](const ArchiveSlot& slot, const ListEntry& entry) {
                       return slot.index == entry.slot;
                   })) {
        return;  // nothing to show: the window keeps its scroll position and current entry too
    }
    std::vector<ListEntry> entries;
    entries.reserve(filled.size());
    for (const ArchiveSlot& slot : filled) {
        entries.push_back({slot.index, slot.value, false});
    }
    std::vector<ShownEntry> withSelection = shown;
    const std::vector<ListEntry> before = keepSelection ? listWithSelection() : m_entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ListEntry& entry = entries[i];
        const bool wanted =
            std::find(selectedSlots.begin(), selectedSlots.end(), entry.slot) !=
                selectedSlots.end() ||
            std::any_of(before.begin(), before.end(), [&](const ListEntry& old) {
                return old.selected && old.slot == entry.slot && old.name == entry.name;
            });
        withSelection[i].selected = wanted;
    }
    m_entries = std::move(entries);
    m_shown = std::move(shown);
    m_view.showList(withSelection);
}

}  // namespace varnock
