// SPDX-License-Identifier: GPL-3.0-or-later
// What the list tells of each registered archive besides its name: whether the other
// application loads it, finds it, and loads it only once.
#pragma once

#include <string>
#include <vector>

#include "ArchiveSlotTable.h"
#include "MainWindowView.h"

namespace varnock {

// The entries for the slots that hold a value (in slot order), marked: behind the first empty
// slot (firstEmpty) an entry is not loaded; one whose file is in none of dataFolders is
// missing; one naming the same file (as the file system finds names) as an earlier loaded
// entry is registered twice. None is selected.
std::vector<ShownEntry> markedEntries(const std::vector<ArchiveSlot>& filled, SlotIndex firstEmpty,
                                      const std::vector<std::string>& dataFolders);

}  // namespace varnock
