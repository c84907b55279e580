// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows side: the ANSI code page, file attributes, read-only files, Unicode paths and
// both separators.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include "PathHelpers.h"
#include "Registration.h"
#include "SampleSettings.h"
#include "ScriptedPrompts.h"
#include "SettingsFileFixture.h"
#include "text/CodePage.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::kRealistic;
using testing::readBytes;
using testing::SettingsFileTest;
using testing::writeBytes;

TEST(WindowsCodePage, TextCrossesInTheAnsiCodePageWithoutLookAlikes) {
    if (::GetACP() == CP_UTF8) {
        GTEST_SKIP() << "the system's ANSI code page is UTF-8";
    }
    // No ANSI code page holds an emoji; best-fit conversion would turn it into "?".
    EXPECT_EQ(text::toCodePage("x\U0001F600.bsa"), std::nullopt);
    EXPECT_EQ(text::toCodePage("plain.bsa"), "plain.bsa");
    if (::GetACP() == 1252) {
        EXPECT_EQ(text::toCodePage("Caf\u00E9 \u20AC"), "Caf\xE9 \x80");
        EXPECT_EQ(text::fromCodePage("Caf\xE9 \x80"), "Caf\u00E9 \u20AC");
        EXPECT_EQ(text::toCodePage("\u03A9"), std::nullopt);  // not in the Western page
        EXPECT_EQ(text::toCodePage("\u0100"), std::nullopt);  // best fit would give "A"
    }
}

TEST_F(SettingsFileTest, ReplacingKeepsTheFilesAttributes) {
    writeBytes(ini, kRealistic);
    ASSERT_TRUE(::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    EXPECT_EQ(file.read("Archives", "Archive 0"), "New.bsa");
    EXPECT_TRUE(::GetFileAttributesW(ini.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(folder.listing(), "app.ini");
}

TEST_F(SettingsFileTest, AReadOnlyFileIsNotReplaced) {
    writeBytes(ini, kRealistic);
    ASSERT_TRUE(::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    const Status status = file.write("Archives", "Archive 0", "New.bsa");
    EXPECT_FALSE(status);
    EXPECT_NE(status.reason().find("app.ini"), std::string::npos) << status.reason();
    ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readBytes(ini), kRealistic);
    EXPECT_EQ(folder.listing(), "app.ini");
}

TEST(WindowsPaths, UnicodeFoldersWorkForReadingWritingAndCopying) {
    testing::TemporaryFolder folder;
    const fs::path game = folder.path() / fs::path(u8"Sp\u00EFel \u65E5\u672C \u03A9");
    const fs::path downloads = folder.path() / fs::path(u8"T\u00E9l\u00E9chargements");
    fs::create_directories(game / "Data Files");
    fs::create_directories(downloads);
    writeBytes(game / "app.ini", kRealistic);
    writeBytes(downloads / "x.bsa", "archive bytes");

    testing::ScriptedPrompts prompts;
    testing::ScriptedProgress progress;
    prompts.answers = {Answer::Yes};
    const std::string iniPath = utf8FromPath(game / "app.ini");
    EXPECT_EQ(
        registerArchive(utf8FromPath(downloads / "x.bsa"), iniPath, prompts, progress).outcome,
        RegistrationOutcome::Registered);
    EXPECT_EQ(readBytes(game / "Data Files" / "x.bsa"), "archive bytes");
    EXPECT_EQ(ArchiveSlotTable(game / "app.ini").readSlot(2), "x.bsa");
}

TEST(WindowsPaths, TheDataFilesTestWorksWithEitherSeparator) {
    testing::TemporaryFolder folder;
    fs::create_directories(folder.path() / "Data Files");
    writeBytes(folder.path() / "Data Files" / "x.bsa", "archive");
    for (const char separator : {'\\', '/'}) {
        std::string base = utf8FromPath(folder.path());
        for (char& c : base) {
            c = (c == '\\' || c == '/') ? separator : c;
        }
        const std::string iniPath = base + separator + "app.ini";
        const std::string inPlace = base + separator + "Data Files" + separator + "x.bsa";
        testing::ScriptedPrompts prompts;
        testing::ScriptedProgress progress;
        EXPECT_EQ(registerArchive(inPlace, iniPath, prompts, progress).outcome,
                  RegistrationOutcome::Registered);
        EXPECT_TRUE(prompts.asked.empty()) << separator;
        ASSERT_TRUE(ArchiveSlotTable(pathFromUtf8(iniPath)).deleteSlot(0));

        const std::string outOfPlace = base + separator + "x.bsa";
        EXPECT_EQ(registerArchive(outOfPlace, iniPath, prompts, progress).outcome,
                  RegistrationOutcome::Registered);
        EXPECT_EQ(prompts.asked.size(), 1u) << separator;
        ASSERT_TRUE(ArchiveSlotTable(pathFromUtf8(iniPath)).deleteSlot(0));
    }
}

}  // namespace
}  // namespace varnock
