// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryMarks.h"

#include <unordered_map>

#include "DataFilesCheck.h"
#include "platform/FileNameCase.h"

namespace varnock {
namespace {

void addNote(ShownEntry& entry, const std::string& note) {
    entry.note += (entry.note.empty() ? "" : "\n") + note;
}

}  // namespace

std::vector<ShownEntry> markedEntries(const std::vector<ArchiveSlot>& filled, SlotIndex firstEmpty,
                                      const std::vector<std::string>& dataFolders) {
    std::vector<std::string> names;
    names.reserve(filled.size());
    for (const ArchiveSlot& slot : filled) {
        names.push_back(slot.value);
    }
    const std::vector<bool> missing = missingFromDataFiles(dataFolders, names);
    std::unordered_map<std::string, SlotIndex> loaded;  // folded name -> its first slot
    std::vector<ShownEntry> entries(filled.size());
    for (std::size_t i = 0; i < filled.size(); ++i) {
        ShownEntry& entry = entries[i];
        entry.name = filled[i].value;
        if (filled[i].index > firstEmpty) {
            entry.notLoaded = true;
            addNote(entry, "Not loaded: slot " + std::to_string(firstEmpty) +
                               " is empty, and the other application stops reading there.");
        }
        if (missing[i]) {
            entry.missing = true;
            addNote(entry, "Not found in the \"Data Files\" folder");
        }
        const auto [first, isFirst] =
            loaded.try_emplace(platform::foldedFileName(entry.name), filled[i].index);
        if (!isFirst) {
            entry.registeredTwice = true;
            addNote(entry, "Registered twice: slot " + std::to_string(first->second) +
                               " holds the same archive.");
        }
        if (entry.notLoaded && isFirst) {
            loaded.erase(first);  // only a loaded entry makes a later one a second registration
        }
    }
    return entries;
}

}  // namespace varnock
