// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <string>

#include "SampleSettings.h"
#include "SettingsFileFixture.h"
#include "TemporaryFolder.h"

namespace varnock {
namespace {

using testing::kRealistic;
using testing::readBytes;
using testing::SettingsFileTest;
using testing::writeBytes;

TEST_F(SettingsFileTest, MissingFileSectionAndKeyReadEmpty) {
    EXPECT_EQ(file.read("Archives", "Archive 0"), "");
    ASSERT_TRUE(file.readChecked("Archives", "Archive 0"));
    writeBytes(ini, "[General]\r\nx=1\r\n[Archives]\r\nArchive 3=\r\n");
    EXPECT_EQ(file.read("Missing", "x"), "");
    EXPECT_EQ(file.read("Archives", "Archive 0"), "");
    EXPECT_EQ(file.read("Archives", "Archive 3"), "");
    EXPECT_EQ(file.read("general", "X"), "1");
}

TEST_F(SettingsFileTest, LongValuesReadAsTheirFirst254Characters) {
    writeBytes(ini, "[Archives]\r\nArchive 0=" + std::string(300, 'v') + "\r\n");
    EXPECT_EQ(file.read("Archives", "Archive 0"), std::string(254, 'v'));
    EXPECT_FALSE(file.write("Archives", "Archive 1", std::string(255, 'w')));
    EXPECT_TRUE(file.write("Archives", "Archive 1", std::string(254, 'w')));
    EXPECT_EQ(file.read("Archives", "Archive 1"), std::string(254, 'w'));
}

TEST_F(SettingsFileTest, TextCrossesInTheEightBitCodePage) {
    writeBytes(ini, "[Archives]\r\nArchive 0=Caf\xE9 \x80.bsa\r\n");
    EXPECT_EQ(file.read("Archives", "Archive 0"), "Caf\u00E9 \u20AC.bsa");
    ASSERT_TRUE(file.write("Archives", "Archive 1", "Na\u00EFve.bsa"));
    EXPECT_EQ(readBytes(ini),
              "[Archives]\r\nArchive 0=Caf\xE9 \x80.bsa\r\nArchive 1=Na\xEFve.bsa\r\n");
}

TEST_F(SettingsFileTest, WritesAndRemovesTouchNothingButTheirKey) {
    writeBytes(ini, kRealistic);
    ASSERT_TRUE(file.write("Archives", "Archive 2", "Mine.bsa"));
    ASSERT_TRUE(file.write("Archives", "Archive 0", "Sounds.bsa"));
    ASSERT_TRUE(file.remove("Archives", "Archive 1"));
    std::string expected = kRealistic;
    expected.replace(expected.find("Meshes.bsa"), 10, "Sounds.bsa");
    expected.replace(expected.find("  archive 1 =  Textures.bsa\r\n"), 29,
                     "Archive 2=Mine.bsa\r\n");
    EXPECT_EQ(readBytes(ini), expected);
    EXPECT_EQ(file.read("Archives", "Archive 1"), "");
    EXPECT_EQ(file.read("Archives", "Archive 2"), "Mine.bsa");
}

TEST_F(SettingsFileTest, AChangeThatChangesNothingLeavesTheFileUntouched) {
    writeBytes(ini, kRealistic);
    const auto longAgo = std::filesystem::last_write_time(ini) - std::chrono::hours(24 * 365);
    std::filesystem::last_write_time(ini, longAgo);
    ASSERT_TRUE(file.write("Archives", "Archive 0", "Meshes.bsa"));
    ASSERT_TRUE(file.remove("Archives", "Archive 7"));
    EXPECT_EQ(std::filesystem::last_write_time(ini), longAgo);
    EXPECT_EQ(readBytes(ini), kRealistic);
}

TEST_F(SettingsFileTest, AMissingFileIsCreatedWithCrLf) {
    ASSERT_TRUE(file.write("Archives", "Archive 0", "a.bsa"));
    EXPECT_EQ(readBytes(ini), "[Archives]\r\nArchive 0=a.bsa\r\n");
    EXPECT_EQ(folder.listing(), "app.ini");
}

TEST_F(SettingsFileTest, ValuesThatWouldNotReadBackAreRefusedWithAReason) {
    writeBytes(ini, kRealistic);
    for (const std::string value : {"x\r\nArchive 9=y", "\u03A9.bsa", " x.bsa", "\"x\"", "\xFF"}) {
        const Status status = file.write("Archives", "Archive 2", value);
        EXPECT_FALSE(status) << value;
        EXPECT_NE(status.reason().find("cannot be stored"), std::string::npos) << status.reason();
    }
    EXPECT_EQ(readBytes(ini), kRealistic);
}

TEST_F(SettingsFileTest, AFolderInPlaceOfTheFileIsAFailureNotACrash) {
    std::filesystem::create_directory(ini);
    EXPECT_EQ(file.read("Archives", "Archive 0"), "");
    EXPECT_FALSE(file.readChecked("Archives", "Archive 0"));
    const Status status = file.write("Archives", "Archive 0", "a.bsa");
    EXPECT_FALSE(status);
    EXPECT_NE(status.reason().find("app.ini"), std::string::npos) << status.reason();
    EXPECT_TRUE(std::filesystem::is_directory(ini));
}

TEST_F(SettingsFileTest, LargeAndBinaryFilesAreHandledWholeAndOversizedOnesRefused) {
    // 60 MiB of other sections with [Archives] last: read and changed without loss.
    std::string large = kRealistic;
    large.erase(large.find("[Archives]"), large.find("[Display]") - large.find("[Archives]"));
    const std::string filler = "[Filler]\r\n" + std::string(1 << 20, 'f') + "\r\n";
    while (large.size() < 60u << 20) {
        large += filler;
    }
    large += "[Archives]\r\nArchive 0=Last.bsa\r\n";
    writeBytes(ini, large);
    EXPECT_EQ(file.read("Archives", "Archive 0"), "Last.bsa");
    ASSERT_TRUE(file.write("Archives", "Archive 1", "More.bsa"));
    EXPECT_EQ(readBytes(ini), large + "Archive 1=More.bsa\r\n");

    // Past 64 MiB it is no settings file: refused when read, and never written.
    large += std::string(5u << 20, ';');
    writeBytes(ini, large);
    const auto refused = file.readChecked("Archives", "Archive 0");
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.reason().find("too large to be a settings file"), std::string::npos)
        << refused.reason();
    EXPECT_FALSE(file.write("Archives", "Archive 1", "Other.bsa"));
    EXPECT_EQ(readBytes(ini).size(), large.size());

    std::string binary(1 << 16, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    writeBytes(ini, binary);
    ASSERT_TRUE(file.readChecked("Archives", "Archive 0")) << "a binary file reads like any other";
    ASSERT_TRUE(file.write("Archives", "Archive 0", "a.bsa"));
    EXPECT_EQ(readBytes(ini).substr(0, binary.size()), binary);
    EXPECT_EQ(file.read("Archives", "Archive 0"), "a.bsa");
}

}  // namespace
}  // namespace varnock
