// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowSession.h"

#include <exception>
#include <optional>

#include "CopyProgressView.h"
#include "DataFilesCheck.h"
#include "FileChooser.h"
#include "FileKind.h"
#include "PathHelpers.h"
#include "Registration.h"
#include "Unregistration.h"
#include "UserPrompts.h"
#include "VirtualStore.h"

namespace varnock {
namespace {

Result<std::vector<ArchiveSlot>> registeredIn(const std::string& iniPath) {
    return ArchiveSlotTable(pathFromUtf8(iniPath)).listRegisteredChecked();
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
            m_missing.clear();
            m_view.showList({});
        } catch (...) {
        }
    }
}

std::string MainWindowSession::choose(const FileKind& kind) {
    std::string chosen = m_view.fileChooser().chooseFile(kind);
    if (chosen.empty() || !kind.matches(chosen)) {
        return {};
    }
    return chosen;
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
    const auto registered = registeredIn(path);
    if (!registered) {
        // The former choice stays: an unreadable file would list as if nothing were registered.
        m_view.prompts().showWarning(registered.reason());
        return;
    }
    m_iniPath = std::move(path);
    m_view.showIniPath(m_iniPath);
    m_view.watchSettingsFile(m_iniPath);
    show(registered.value(), false);
    if (const auto copy = virtualStoreCopy(m_iniPath, ProgramFolders::fromEnvironment())) {
        m_view.prompts().showMessage(virtualStoreNotice(*copy));
        // Choosing the copy is then one click on its name.
        m_view.fileChooser().openNextIn(folderOf(*copy));
    }
}

void MainWindowSession::registerChosenArchive() {
    guarded([this] {
        ProgramFolderPrompts prompts(m_view.prompts(), m_iniPath,
                                     ProgramFolders::fromEnvironment());
        const auto result =
            registerArchive(m_archivePath, m_iniPath, prompts, m_view.copyProgress());
        if (result.outcome == RegistrationOutcome::NotRegistered) {
            return;
        }
        refreshList();
        if (result.outcome == RegistrationOutcome::Registered &&
            static_cast<std::size_t>(result.slot) < m_entries.size()) {
            m_view.scrollToEntry(result.slot);
        }
    });
}

void MainWindowSession::unregisterSelected() {
    guarded([this] {
        std::vector<ListEntry> list;
        for (const std::string& name : m_entries) {
            list.push_back({name, false});
        }
        for (const SlotIndex slot : m_view.selectedEntries()) {
            if (static_cast<std::size_t>(slot) < list.size()) {
                list[static_cast<std::size_t>(slot)].selected = true;
            }
        }
        ProgramFolderPrompts prompts(m_view.prompts(), m_iniPath,
                                     ProgramFolders::fromEnvironment());
        if (varnock::unregisterSelected(m_iniPath, list, prompts)) {
            refreshList();
        }
    });
}

bool MainWindowSession::followSettingsFile() {
    if (m_acting || m_view.modalDialogOpen()) {
        return false;
    }
    std::optional<Result<std::vector<ArchiveSlot>>> registered;
    try {
        registered = registeredIn(m_iniPath);
        // A file that cannot be read now is told by the next action that needs it; the list is
        // not emptied under the user's eyes for what may be a passing state.
        if (*registered) {
            show(registered->value(), true);
        }
    } catch (...) {
        // Told by the next action, like a file that cannot be read.
    }
    return true;
}

void MainWindowSession::refreshList() {
    const auto registered = registeredIn(m_iniPath);
    if (!registered) {
        m_entries.clear();
        m_missing.clear();
        m_view.showList({});
        m_view.prompts().showWarning(registered.reason());
        return;
    }
    show(registered.value(), false);
}

void MainWindowSession::show(const std::vector<ArchiveSlot>& registered, bool keepSelection) {
    std::vector<std::string> shown;
    shown.reserve(registered.size());
    for (const auto& slot : registered) {
        shown.push_back(slot.value);
    }
    std::vector<bool> missing = missingFromDataFiles(m_iniPath, shown);
    if (keepSelection && shown == m_entries && missing == m_missing) {
        return;  // nothing to show: the window keeps its scroll position and current entry too
    }
    std::vector<ShownEntry> entries;
    entries.reserve(shown.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        entries.push_back({shown[i], false, missing[i]});
    }
    if (keepSelection) {
        for (const SlotIndex slot : m_view.selectedEntries()) {
            const auto i = static_cast<std::size_t>(slot);
            if (i < entries.size() && i < m_entries.size() && m_entries[i] == shown[i]) {
                entries[i].selected = true;
            }
        }
    }
    m_entries = std::move(shown);
    m_missing = std::move(missing);
    m_view.showList(entries);
}

}  // namespace varnock
