// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows primitives under the save: temporary names and the sweep of leftovers, the kept
// copy before a save in place, checkSaveable's decision, links that cannot be followed, and
// the attributes a file keeps.
#include <windows.h>

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <thread>

#include "../SampleSettings.h"
#include "../SettingsFileFixture.h"
#include "platform/File.h"
#include "platform/SaveTarget.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::kRealistic;
using testing::readBytes;
using testing::TemporaryFolder;
using testing::writeBytes;

// Kept copies go to %LOCALAPPDATA%\Varnock; each test gets its own.
class SaveWindowsTest : public testing::SettingsFileTest {
protected:
    SaveWindowsTest() {
        wchar_t before[MAX_PATH] = {};
        if (::GetEnvironmentVariableW(L"LOCALAPPDATA", before, MAX_PATH) > 0) {
            m_before = before;
        }
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", cache.path().c_str());
    }
    ~SaveWindowsTest() override {
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", m_before.empty() ? nullptr : m_before.c_str());
    }
    std::string keptCopies() const {
        return fs::exists(cache / "Varnock") ? TemporaryFolder::listingOf(cache / "Varnock") : "";
    }

    TemporaryFolder cache;

private:
    std::wstring m_before;
};

TEST_F(SaveWindowsTest, LeftoversOfEndedSavesGoWithTheNextSaveButNotThoseInUse) {
    writeBytes(ini, kRealistic);
    writeBytes(folder / ".varnock-app.ini.Ended1", "left by a save that was ended");
    writeBytes(folder / ".varnockrc", "not ours to remove");
    // Created and locked the way a running save holds its temporary file.
    auto inUse = platform::File::createNew(folder / ".varnock-app.ini.InUse1");
    ASSERT_TRUE(inUse && inUse.value()) << "cannot create a locked temporary file";
    // A leftover must have stood a moment, so that a file just being made is never taken.
    ASSERT_TRUE(file.write("Archives", "Archive 0", "Early.bsa"));
    EXPECT_EQ(folder.listing(),
              ".varnock-app.ini.Ended1 .varnock-app.ini.InUse1 .varnockrc app.ini");
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    EXPECT_EQ(folder.listing(), ".varnock-app.ini.InUse1 .varnockrc app.ini");
    EXPECT_EQ(readBytes(ini), testing::realisticWithArchive0("New.bsa"));
}

TEST_F(SaveWindowsTest, AFileWithOtherNamesIsWrittenInPlaceAfterItsOldBytesAreKept) {
    writeBytes(ini, kRealistic);
    ASSERT_TRUE(::CreateHardLinkW((folder / "other.ini").c_str(), ini.c_str(), nullptr));
    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    EXPECT_EQ(readBytes(folder / "other.ini"), testing::realisticWithArchive0("New.bsa"));
    EXPECT_EQ(folder.listing(), "app.ini other.ini");
    EXPECT_EQ(keptCopies(), "") << "the copy of the old bytes outlived the save";

    ASSERT_TRUE(file.write("Archives", "Archive 1", std::string(200, 'x') + ".bsa"));
    EXPECT_EQ(readBytes(folder / "other.ini"), readBytes(ini));
    EXPECT_EQ(file.read("Archives", "Archive 1"), std::string(200, 'x') + ".bsa");
}

TEST_F(SaveWindowsTest, AnUnfinishedInPlaceSaveIsNamedAndStopsTheNext) {
    writeBytes(ini, kRealistic);
    ASSERT_TRUE(::CreateHardLinkW((folder / "other.ini").c_str(), ini.c_str(), nullptr));
    const auto opened = platform::File::open(ini, platform::File::Access::Read);
    ASSERT_TRUE(opened);
    const auto info = opened.value().info();
    ASSERT_TRUE(info);
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%" PRIx64 "-%" PRIx64 "-", info.value().stamp.device,
                  info.value().stamp.file);
    fs::create_directories(cache / "Varnock");
    const auto copy = cache / "Varnock" / (std::string(prefix) + std::string(16, '0') + "-app.ini");
    writeBytes(copy, "the bytes the file had before a save that was ended");

    const Status refused = file.write("Archives", "Archive 0", "New.bsa");
    ASSERT_FALSE(refused) << "expected the leftover copy to stop the save";
    EXPECT_NE(refused.reason().find(copy.filename().string()), std::string::npos)
        << refused.reason();
    EXPECT_EQ(readBytes(ini), kRealistic);
}

TEST_F(SaveWindowsTest, CheckSaveableDecidesAsTheSaveWithoutMakingAFile) {
    EXPECT_TRUE(platform::checkSaveable(ini)) << "a new file in a writable folder";
    EXPECT_EQ(folder.listing(), "") << "checkSaveable left a file behind";
    EXPECT_FALSE(platform::checkSaveable(folder / "missing" / "app.ini"));

    writeBytes(ini, kRealistic);
    ASSERT_TRUE(::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    const Status refused = platform::checkSaveable(ini);
    EXPECT_FALSE(refused) << "a read-only file";
    EXPECT_NE(refused.reason().find("read-only"), std::string::npos) << refused.reason();
    EXPECT_EQ(folder.listing(), "app.ini");
    ASSERT_TRUE(::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(platform::checkSaveable(ini));
}

TEST_F(SaveWindowsTest, ALinkThatCannotBeFollowedIsAFailureAndStaysALink) {
    const auto link = folder / "link.ini";
    // Wine reports success and makes nothing, and hides a link to nothing made otherwise.
    if (!::CreateSymbolicLinkW(link.c_str(), (folder / "missing" / "target.ini").c_str(),
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
        ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "this system made no symbolic link to a missing file";
    }
    const Status refused = SettingsFile(link).write("Archives", "Archive 0", "New.bsa");
    EXPECT_FALSE(refused) << "expected a failure for a link to nothing";
    EXPECT_FALSE(platform::checkSaveable(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(folder.listing(), "link.ini");
}

TEST_F(SaveWindowsTest, AFileThatStaysLockedIsLeftAloneWithinSeconds) {
    writeBytes(ini, kRealistic);
    const auto holder = platform::File::open(ini, platform::File::Access::Read);
    ASSERT_TRUE(holder);
    const auto locked = holder.value().tryLock();
    ASSERT_TRUE(locked && locked.value() == platform::File::Lock::Taken)
        << "cannot lock the file as another Varnock would";
    const auto started = std::chrono::steady_clock::now();
    const Status saved = file.write("Archives", "Archive 0", "New.bsa");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(6));
    EXPECT_FALSE(saved) << "expected the save to fail while the file is locked";
    EXPECT_NE(saved.reason().find("locked"), std::string::npos) << saved.reason();
    EXPECT_EQ(readBytes(ini), kRealistic);
}

TEST_F(SaveWindowsTest, HiddenAndArchiveStayThroughBothWaysOfSaving) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    writeBytes(ini, kRealistic);
    ASSERT_TRUE(::SetFileAttributesW(ini.c_str(), kKept));
    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    EXPECT_EQ(::GetFileAttributesW(ini.c_str()) & kKept, kKept) << "by replacement";
    ASSERT_TRUE(::CreateHardLinkW((folder / "other.ini").c_str(), ini.c_str(), nullptr));
    ASSERT_TRUE(file.write("Archives", "Archive 0", "Newer.bsa"));
    EXPECT_EQ(::GetFileAttributesW(ini.c_str()) & kKept, kKept) << "in place";
    EXPECT_EQ(readBytes(folder / "other.ini"), testing::realisticWithArchive0("Newer.bsa"));
}

}  // namespace
}  // namespace varnock
