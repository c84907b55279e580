// SPDX-License-Identifier: GPL-3.0-or-later
// A settings file of five registered archives, and the window's list of them, for the
// unregistration tests.
#pragma once

#include <gtest/gtest.h>

#include "ArchiveSlotTable.h"
#include "PathHelpers.h"
#include "ScriptedPrompts.h"
#include "TemporaryFolder.h"
#include "Unregistration.h"

namespace varnock::testing {

inline const std::string kFiveSlots =
    "[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=b.bsa\r\nArchive 2=c.bsa\r\n"
    "Archive 3=d.bsa\r\nArchive 4=e.bsa\r\n";
inline const std::string kConfirmation = "Archive(s) unregistered successfully.";

class UnregistrationTest : public ::testing::Test {
protected:
    void SetUp() override { writeBytes(ini, kFiveSlots); }

    // The window's list of the five slots with the given entries selected.
    Unregistration unregister(std::initializer_list<int> selected) {
        std::vector<ListEntry> list;
        for (const auto& slot : ArchiveSlotTable(ini).listRegistered()) {
            list.push_back({slot.index, slot.value, false});
        }
        for (const int i : selected) {
            list[static_cast<std::size_t>(i)].selected = true;
        }
        return unregisterSelected(utf8FromPath(ini), list, prompts);
    }

    std::vector<std::string> listed() const {
        std::vector<std::string> names;
        for (const auto& slot : ArchiveSlotTable(ini).listRegistered()) {
            names.push_back(slot.value);
        }
        return names;
    }

    TemporaryFolder folder;
    std::filesystem::path ini = folder / "app.ini";
    ScriptedPrompts prompts;
};

}  // namespace varnock::testing
