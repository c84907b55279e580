// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unregistration.h"

#include <gtest/gtest.h>

#include "UnregistrationFixture.h"

namespace varnock {
namespace {

using testing::kConfirmation;
using testing::kFiveSlots;
using testing::UnregistrationTest;

// The other application stops at the first missing key: the later slots move down, so that
// nothing the user did not select stops loading.
TEST_F(UnregistrationTest, SelectedSlotsGoAndTheLaterOnesMoveDown) {
    EXPECT_EQ(unregister({1, 4}), Unregistration::Unregistered);
    EXPECT_EQ(testing::readBytes(ini),
              "[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=c.bsa\r\nArchive 2=d.bsa\r\n");
    EXPECT_EQ(prompts.shown, std::vector<std::string>{kConfirmation});
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.bsa", "c.bsa", "d.bsa"}));
}

// Each value keeps its bytes and each line its place; keys behind a gap stay behind it, and
// unread second lines of a moved key go with it.
TEST_F(UnregistrationTest, AShiftKeepsGapsValueBytesAndTheLinesAround) {
    testing::writeBytes(ini,
                        "[Archives]\nARCHIVE 0 = a.bsa\n; mine\nArchive 1=\"b.bsa\"\n"
                        "Archive 3=  d.bsa\nArchive 07=x\nArchive 3=shadowed\nArchive 4=e.bsa");
    std::vector<ListEntry> list = {
        {0, "a.bsa", true}, {1, "b.bsa", false}, {3, "d.bsa", false}, {4, "e.bsa", false}};
    EXPECT_EQ(unregisterSelected(utf8FromPath(ini), list, prompts), Unregistration::Unregistered);
    EXPECT_EQ(testing::readBytes(ini),
              "[Archives]\nARCHIVE 0 = \"b.bsa\"\n; mine\nArchive 2=d.bsa\nArchive 3=  e.bsa\n"
              "Archive 07=x\n");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(UnregistrationTest, TheConfirmationComesOnlyWithTheLastEntry) {
    EXPECT_EQ(unregister({1, 2}), Unregistration::Unregistered);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.bsa", "d.bsa", "e.bsa"}));

    testing::writeBytes(ini, kFiveSlots);
    EXPECT_EQ(unregister({4}), Unregistration::Unregistered);
    EXPECT_EQ(prompts.shown, std::vector<std::string>{kConfirmation});
    EXPECT_EQ(listed(), (std::vector<std::string>{"a.bsa", "b.bsa", "c.bsa", "d.bsa"}));
}

TEST_F(UnregistrationTest, NothingSelectedOrNothingListedChangesNothing) {
    EXPECT_EQ(unregister({}), Unregistration::NothingSelected);
    EXPECT_EQ(unregisterSelected(utf8FromPath(ini), {}, prompts), Unregistration::EmptyList);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(testing::readBytes(ini), kFiveSlots);
}

TEST_F(UnregistrationTest, AListThatNoLongerShowsTheFileRemovesNothingAndSaysSo) {
    std::vector<ListEntry> list;
    for (const auto& slot : ArchiveSlotTable(ini).listRegistered()) {
        list.push_back({slot.index, slot.value, false});
    }
    list[1].selected = true;
    list[4].selected = true;
    // Another program puts its own archive into slot 1 after the list was filled.
    const std::string changed =
        "[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=Important Other Tool.bsa\r\n"
        "Archive 2=c.bsa\r\nArchive 3=d.bsa\r\nArchive 4=e.bsa\r\n";
    testing::writeBytes(ini, changed);
    EXPECT_EQ(unregisterSelected(utf8FromPath(ini), list, prompts),
              Unregistration::NotUnregistered);
    EXPECT_EQ(testing::readBytes(ini), changed);
    ASSERT_EQ(prompts.warned.size(), 1u);
    EXPECT_TRUE(prompts.warned[0].starts_with("The settings file was changed by another program"))
        << prompts.warned[0];
    EXPECT_EQ(prompts.shown, prompts.warned) << "no confirmation";
}

TEST_F(UnregistrationTest, ManySelectedEntriesGoInOneSave) {
    std::string text = "[Archives]\r\n";
    for (int n = 0; n < 100; ++n) {
        text += "Archive " + std::to_string(n) + "=archive" + std::to_string(n) + ".bsa\r\n";
    }
    testing::writeBytes(ini, text + "[Other]\r\nArchive 5=kept\r\n");
    std::vector<ListEntry> list;
    for (const auto& slot : ArchiveSlotTable(ini).listRegistered()) {
        list.push_back({slot.index, slot.value, slot.index % 2 == 1});
    }
    EXPECT_EQ(unregisterSelected(utf8FromPath(ini), list, prompts), Unregistration::Unregistered);
    std::string expected = "[Archives]\r\n";
    for (int n = 0; n < 100; n += 2) {
        expected +=
            "Archive " + std::to_string(n / 2) + "=archive" + std::to_string(n) + ".bsa\r\n";
    }
    EXPECT_EQ(testing::readBytes(ini), expected + "[Other]\r\nArchive 5=kept\r\n");
    EXPECT_EQ(prompts.shown, std::vector<std::string>{kConfirmation});
}

}  // namespace
}  // namespace varnock
