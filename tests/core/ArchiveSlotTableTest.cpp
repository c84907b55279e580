// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveSlotTable.h"

#include <gtest/gtest.h>

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
