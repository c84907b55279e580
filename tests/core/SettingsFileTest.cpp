// Varnock: keeps the archive list of an INI settings file.
#include "SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <string>

#include "TemporaryFolder.h"
#include "Unprivileged.h"

namespace varnock {
namespace {

using testing::readBytes;
using testing::writeBytes;

// A settings file as the owning application leaves it: CRLF, comments, several sections.
const std::string kRealistic =
    "; Settings of the application\r\n"
    "[General]\r\n"
    "sLanguage=ENGLISH\r\n"
    "uGridsToLoad = 5\r\n"
    "\r\n"
    "[Archives]\r\n"
    "Archive 0=Meshes.bsa\r\n"
    "  archive 1 =  Textures.bsa\r\n"
    "; user archives follow\r\n"
    "\r\n"
    "[Display]\r\n"
    "iSize W=1024\r\n";

ino_t inodeOf(const std::filesystem::path& p) {
    struct stat info {};
    ::stat(p.c_str(), &info);
    return info.st_ino;
}

class SettingsFileTest : public ::testing::Test {
protected:
    testing::TemporaryFolder folder;
    std::filesystem::path ini = folder / "app.ini";
    SettingsFile file{ini};
};

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
    const ino_t before = inodeOf(ini);
    ASSERT_TRUE(file.write("Archives", "Archive 0", "Meshes.bsa"));
    ASSERT_TRUE(file.remove("Archives", "Archive 7"));
    EXPECT_EQ(inodeOf(ini), before);
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

TEST_F(SettingsFileTest, HugeAndBinaryFilesAreHandledWhole) {
    // 100 MB of other sections with [Archives] last: read and changed without loss.
    std::string huge = kRealistic;
    huge.erase(huge.find("[Archives]"), huge.find("[Display]") - huge.find("[Archives]"));
    const std::string filler = "[Filler]\r\n" + std::string(1 << 20, 'f') + "\r\n";
    while (huge.size() < 100u << 20) {
        huge += filler;
    }
    huge += "[Archives]\r\nArchive 0=Last.bsa\r\n";
    writeBytes(ini, huge);
    EXPECT_EQ(file.read("Archives", "Archive 0"), "Last.bsa");
    ASSERT_TRUE(file.write("Archives", "Archive 1", "More.bsa"));
    EXPECT_EQ(readBytes(ini), huge + "Archive 1=More.bsa\r\n");

    std::string binary(1 << 16, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    writeBytes(ini, binary);
    (void)file.read("Archives", "Archive 0");
    ASSERT_TRUE(file.write("Archives", "Archive 0", "a.bsa"));
    EXPECT_EQ(readBytes(ini).substr(0, binary.size()), binary);
    EXPECT_EQ(file.read("Archives", "Archive 0"), "a.bsa");
}

TEST_F(SettingsFileTest, ALinkedFileIsReplacedAtItsTargetAndTheLinkStays) {
    const auto target = folder / "real.ini";
    writeBytes(target, kRealistic);
    std::filesystem::create_symlink(target, ini);
    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    EXPECT_TRUE(std::filesystem::is_symlink(ini));
    EXPECT_EQ(file.read("Archives", "Archive 0"), "New.bsa");
    EXPECT_EQ(folder.listing(), "app.ini real.ini");
}

TEST_F(SettingsFileTest, PermissionBitsSurviveTheReplacement) {
    writeBytes(ini, kRealistic);
    ::chmod(ini.c_str(), 0640);
    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    struct stat info {};
    ::stat(ini.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(SettingsFileTest, AWriteThatFailsHalfwayLeavesTheOldBytesAndNoLeftovers) {
    const std::string big = kRealistic + "[Padding]\r\n" + std::string(64 * 1024, 'p') + "\r\n";
    writeBytes(ini, big);
    // A file-size limit makes the disk "full" part of the way through the new file.
    const bool failedCleanly = testing::runInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16 * 1024, 16 * 1024};
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
               !file.write("Archives", "Archive 0", "New.bsa").ok();
    });
    EXPECT_TRUE(failedCleanly);
    EXPECT_EQ(readBytes(ini), big);
    EXPECT_EQ(folder.listing(), "app.ini");
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadIsNeverWritten) {
    writeBytes(ini, kRealistic);
    testing::giveToUnprivilegedUser(ini);
    ::chmod(ini.c_str(), 0200);
    EXPECT_TRUE(testing::runUnprivileged([&] {
        const Status status = file.write("Archives", "Archive 0", "New.bsa");
        return !status.ok() && status.reason().find("not changed") != std::string::npos;
    }));
    ::chmod(ini.c_str(), 0600);
    EXPECT_EQ(readBytes(ini), kRealistic);
}

TEST_F(SettingsFileTest, AReadOnlyFileIsNotReplaced) {
    writeBytes(ini, kRealistic);
    testing::giveToUnprivilegedUser(ini);
    testing::giveToUnprivilegedUser(folder.path());
    ::chmod(ini.c_str(), 0444);
    EXPECT_TRUE(testing::runUnprivileged(
        [&] { return !file.write("Archives", "Archive 0", "New.bsa").ok(); }));
    EXPECT_EQ(readBytes(ini), kRealistic);
    EXPECT_EQ(folder.listing(), "app.ini");
}

TEST_F(SettingsFileTest, AFolderThatForbidsNewFilesGetsTheFileRewrittenInPlace) {
    writeBytes(ini, kRealistic);
    testing::giveToUnprivilegedUser(ini);
    const ino_t before = inodeOf(ini);
    ::chmod(folder.path().c_str(), 0555);
    EXPECT_TRUE(testing::runUnprivileged([&] {
        return file.write("Archives", "Archive 0", "M.bsa").ok() &&
               file.remove("Archives", "Archive 1").ok();
    }));
    ::chmod(folder.path().c_str(), 0755);
    std::string expected = kRealistic;
    expected.replace(expected.find("Meshes.bsa"), 10, "M.bsa");
    expected.erase(expected.find("  archive 1 =  Textures.bsa\r\n"), 29);
    EXPECT_EQ(readBytes(ini), expected);
    EXPECT_EQ(inodeOf(ini), before);
}

}  // namespace
}  // namespace varnock
