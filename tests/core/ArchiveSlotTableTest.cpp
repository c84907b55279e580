// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveSlotTable.h"

#include <gtest/gtest.h>

#include "SlotLayout.h"
#include "TemporaryFolder.h"

namespace varnock {
namespace {

class ArchiveSlotTableTest : public ::testing::Test {
protected:
    void useFile(const std::string& bytes) { testing::writeBytes(ini, bytes); }
    std::vector<std::string> listedValues() const {
        std::vector<std::string> values;
        for (const auto& slot : table.listRegistered()) {
            EXPECT_EQ(slot.index, static_cast<SlotIndex>(values.size()));
            values.push_back(slot.value);
        }
        return values;
    }

    testing::TemporaryFolder folder;
    std::filesystem::path ini = folder / "app.ini";
    ArchiveSlotTable table{ini};
};

TEST(SlotKey, IsTheWordASpaceAndThePlainNumber) {
    EXPECT_EQ(slotKey(0), "Archive 0");
    EXPECT_EQ(slotKey(10), "Archive 10");
    EXPECT_EQ(slotKey(kMaxSlot), "Archive 255");
}

TEST_F(ArchiveSlotTableTest, ListingStopsAtTheFirstEmptySlot) {
    useFile(
        "[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=b.bsa\r\nArchive 2=c.bsa\r\nArchive "
        "4=e.bsa\r\n");
    EXPECT_EQ(listedValues(), (std::vector<std::string>{"a.bsa", "b.bsa", "c.bsa"}));
    useFile("[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=\r\nArchive 2=c.bsa\r\n");
    EXPECT_EQ(listedValues(), (std::vector<std::string>{"a.bsa"}));
    useFile("[Archives]\r\nArchive 1=b.bsa\r\nArchive 2=c.bsa\r\n");
    EXPECT_TRUE(listedValues().empty());
}

// One move of the selected slots, as the file's key lines show it before and after.
struct Move {
    std::string before;
    std::vector<SlotIndex> selected;
    MoveDirection direction;
    std::string after;  // empty: nothing can move
};

class SlotMoves : public ArchiveSlotTableTest, public ::testing::WithParamInterface<Move> {};

TEST_P(SlotMoves, MoveTheSelectionOneSlotKeepingEveryOtherByte) {
    const Move& move = GetParam();
    const std::string head = "; kept\r\n[Archives]\r\n";
    const std::string tail = "[Other]\r\nArchive 1=x\r\n";
    useFile(head + move.before + tail);
    const auto filled = table.snapshot().value().filled();
    const auto layout = layoutMoved(move.selected, move.direction, filled.back().index);
    ASSERT_EQ(layout.has_value(), !move.after.empty());
    if (layout) {
        const auto changed = table.rearrange(filled, *layout);
        ASSERT_TRUE(changed) << changed.reason();
        EXPECT_EQ(changed.value(), TableChange::Saved);
        EXPECT_EQ(testing::readBytes(ini), head + move.after + tail);
    }
}

constexpr auto kUp = MoveDirection::Up;
constexpr auto kDown = MoveDirection::Down;
INSTANTIATE_TEST_SUITE_P(
    Table, SlotMoves,
    ::testing::Values(
        // Up into an empty slot fills it; down swaps values, each line staying in its place.
        Move{"Archive 0=a\r\nArchive 1=b\r\nArchive 3=d\r\n",
             {3},
             kUp,
             "Archive 0=a\r\nArchive 1=b\r\nArchive 2=d\r\n"},
        Move{"Archive 0=a\r\nArchive 1=\"b\"\r\nArchive 2=c\r\n",
             {1},
             kDown,
             "Archive 0=a\r\nArchive 1=c\r\nArchive 2=\"b\"\r\n"},
        // A block moves as one; one held at the edge holds the ones behind it.
        Move{"Archive 0=a\r\nArchive 1=b\r\nArchive 2=c\r\n",
             {1, 2},
             kUp,
             "Archive 0=b\r\nArchive 1=c\r\nArchive 2=a\r\n"},
        Move{"Archive 0=a\r\nArchive 1=b\r\nArchive 2=c\r\n",
             {0, 2},
             kUp,
             "Archive 0=a\r\nArchive 1=c\r\nArchive 2=b\r\n"},
        Move{"Archive 0=a\r\nArchive 2=c\r\nArchive 3=d\r\n",
             {2, 3},
             kUp,
             "Archive 0=a\r\nArchive 1=c\r\nArchive 2=d\r\n"},
        // Nothing moves past the first slot or below the last one that holds a value.
        Move{"Archive 0=a\r\nArchive 1=b\r\n", {0}, kUp, ""},
        Move{"Archive 0=a\r\nArchive 1=b\r\n", {0, 1}, kDown, ""}));

TEST_F(ArchiveSlotTableTest, ARearrangementOverSlotsThatChangedSavesNothing) {
    useFile("[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\n");
    const auto shown = table.snapshot().value().filled();
    for (const std::string& changed :
         {std::string("[Archives]\r\nArchive 0=a\r\nArchive 1=B\r\n"),
          std::string("[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 9=late\r\n"),
          std::string("[Archives]\r\nArchive 0=a\r\n")}) {
        useFile(changed);
        EXPECT_EQ(table.rearrange(shown, layoutWithout({0})).value(), TableChange::ListOutdated);
        EXPECT_EQ(testing::readBytes(ini), changed);
    }
}

TEST_F(ArchiveSlotTableTest, AFileWithoutTheSectionOrNoFileListsNothing) {
    EXPECT_TRUE(listedValues().empty());
    useFile("[General]\r\nArchive 0=a.bsa\r\n");
    EXPECT_TRUE(listedValues().empty());
}

TEST_F(ArchiveSlotTableTest, AFullTableListsAll256SlotsAndNoMore) {
    std::string text = "[Archives]\r\n";
    for (int n = 0; n <= kMaxSlot + 1; ++n) {
        text += "Archive " + std::to_string(n) + "=abc" + std::to_string(n) + "\r\n";
    }
    useFile(text);
    const auto values = listedValues();
    ASSERT_EQ(values.size(), 256u);
    EXPECT_EQ(values.back(), "abc255");
}

TEST_F(ArchiveSlotTableTest, ShortValuesAreListed) {
    useFile("[Archives]\r\nArchive 0=abc\r\nArchive 1=x\r\n");
    EXPECT_EQ(listedValues(), (std::vector<std::string>{"abc", "x"}));
}

TEST_F(ArchiveSlotTableTest, SlotsAreWrittenAndDeletedUnderTheirKeys) {
    useFile("[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=b.bsa\r\nArchive 2=c.bsa\r\n");
    ASSERT_TRUE(table.writeSlot(10, "k.bsa"));
    ASSERT_TRUE(table.deleteSlot(1));
    EXPECT_EQ(testing::readBytes(ini),
              "[Archives]\r\nArchive 0=a.bsa\r\nArchive 2=c.bsa\r\nArchive 10=k.bsa\r\n");
    EXPECT_EQ(table.readSlot(2), "c.bsa");
    EXPECT_EQ(table.readSlot(10), "k.bsa");
    EXPECT_EQ(table.readSlot(1), "");
}

}  // namespace
}  // namespace varnock
