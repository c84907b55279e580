// SPDX-License-Identifier: GPL-3.0-or-later
// What a save keeps besides the bytes (links, other names, ACLs, attributes, flags, owner),
// what it refuses, and what it leaves behind, on real files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "../SampleSettings.h"
#include "../SettingsFileFixture.h"
#include "Command.h"
#include "Unprivileged.h"
#include "platform/CopyFile.h"
#include "platform/SaveTarget.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::kRealistic;
using testing::readBytes;
using testing::TemporaryFolder;
using testing::writeBytes;

struct stat statOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

// What a shell command printed, for the acl and attr tools.
std::string outputOf(const std::string& command) {
    return testing::runCommand({"sh", "-c", command}).output;
}

bool succeeds(const std::string& command) {
    return testing::runCommand({"sh", "-c", command}).exited(0);
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

// In-place saves keep the old bytes in the user's cache folder; each test gets its own.
class SaveTest : public testing::SettingsFileTest {
protected:
    SaveTest() {
        const char* before = std::getenv("XDG_CACHE_HOME");
        m_cacheBefore = before ? std::optional<std::string>(before) : std::nullopt;
        ::setenv("XDG_CACHE_HOME", cache.path().c_str(), 1);
    }
    ~SaveTest() override {
        if (m_cacheBefore) {
            ::setenv("XDG_CACHE_HOME", m_cacheBefore->c_str(), 1);
        } else {
            ::unsetenv("XDG_CACHE_HOME");
        }
    }
    std::string keptCopies() const {
        return fs::exists(cache / "varnock") ? TemporaryFolder::listingOf(cache / "varnock") : "";
    }

    TemporaryFolder cache;

private:
    std::optional<std::string> m_cacheBefore;
};

TEST_F(SaveTest, ADanglingLinkGetsItsTargetCreatedAndStaysALink) {
    fs::create_directory(folder / "real");
    fs::create_symlink("real/target.ini", ini);
    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    EXPECT_TRUE(fs::is_symlink(ini));
    EXPECT_EQ(readBytes(folder / "real" / "target.ini"), "[Archives]\r\nArchive 0=New.bsa\r\n");

    // A link into a folder that does not exist: refused with the reason, the link untouched.
    const auto nowhere = folder / "nowhere.ini";
    fs::create_symlink("missing/target.ini", nowhere);
    const Status refused = SettingsFile(nowhere).write("Archives", "Archive 0", "New.bsa");
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.reason().find("No such file"), std::string::npos) << refused.reason();
    EXPECT_EQ(fs::read_symlink(nowhere), "missing/target.ini");
}

TEST_F(SaveTest, AFileWithOtherNamesIsWrittenInPlaceSoEveryNameSeesTheChange) {
    writeBytes(ini, kRealistic);
    fs::create_hard_link(ini, folder / "other.ini");
    const ino_t before = statOf(ini).st_ino;
    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    EXPECT_EQ(readBytes(folder / "other.ini"), testing::realisticWithArchive0("New.bsa"));
    EXPECT_EQ(statOf(ini).st_ino, before);
    EXPECT_EQ(folder.listing(), "app.ini other.ini");
    EXPECT_EQ(keptCopies(), "") << "the copy of the old bytes outlived the save";

    // Shrinking and growing both end exactly at the new size.
    ASSERT_TRUE(file.remove("Archives", "Archive 1"));
    ASSERT_TRUE(file.write("Archives", "Archive 1", std::string(200, 'x') + ".bsa"));
    EXPECT_EQ(readBytes(folder / "other.ini"), readBytes(ini));
    EXPECT_EQ(file.read("Archives", "Archive 1"), std::string(200, 'x') + ".bsa");
}

TEST_F(SaveTest, AclsAttributesAndFlagsSurviveAReplacement) {
    if (!succeeds("command -v setfacl && command -v setfattr")) {
        GTEST_SKIP() << "the acl and attr tools are not installed";
    }
    writeBytes(ini, kRealistic);
    ::chmod(ini.c_str(), 0640);
    const auto path = quoted(ini);
    if (!succeeds("setfacl -m u:nobody:r--,g::r-- " + path) ||
        !succeeds("setfattr -n user.origin -v kept " + path)) {
        GTEST_SKIP() << "this file system has no ACLs or user attributes";
    }
    const bool flags = succeeds("chattr +d " + path);
    const auto acl = outputOf("getfacl -c " + path);
    const auto attributes = outputOf("getfattr -d " + path);
    const auto before = statOf(ini);

    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    EXPECT_NE(statOf(ini).st_ino, before.st_ino) << "expected a replacement, not a rewrite";
    EXPECT_EQ(outputOf("getfacl -c " + path), acl);
    EXPECT_EQ(outputOf("getfattr -d " + path), attributes);
    EXPECT_EQ(statOf(ini).st_mode, before.st_mode);
    if (flags) {
        EXPECT_EQ(outputOf("lsattr " + path).substr(0, 22).find('d') != std::string::npos, true)
            << outputOf("lsattr " + path);
    }
}

TEST_F(SaveTest, AnAppendOnlyFileIsRefusedAndTheFolderStaysAsItWas) {
    writeBytes(ini, kRealistic);
    const auto path = quoted(ini);
    if (!succeeds("chattr +a " + path)) {
        GTEST_SKIP() << "chattr +a does not work here (needs root and a file system with flags)";
    }
    const Status saved = file.write("Archives", "Archive 0", "New.bsa");
    const std::string listing = folder.listing();
    EXPECT_TRUE(succeeds("chattr -a " + path));
    EXPECT_FALSE(saved) << "an append-only file was saved";
    EXPECT_NE(saved.reason().find("append-only"), std::string::npos) << saved.reason();
    EXPECT_EQ(readBytes(ini), kRealistic);
    EXPECT_EQ(listing, "app.ini") << "the refused save left a file behind";
}

TEST_F(SaveTest, AGroupMemberWhoIsNotTheOwnerLeavesTheOwnerAsItWas) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give the file to another owner";
    }
    constexpr gid_t kNoGroup = 65534;
    writeBytes(ini, kRealistic);
    ASSERT_EQ(::chown(ini.c_str(), 0, kNoGroup), 0);
    ASSERT_EQ(::chown(folder.path().c_str(), 0, kNoGroup), 0);
    ::chmod(ini.c_str(), 0664);
    ::chmod(folder.path().c_str(), 0775);
    EXPECT_TRUE(testing::runUnprivileged([&]() -> std::string {
        const Status written = file.write("Archives", "Archive 0", "New.bsa");
        return written ? "" : written.reason();
    }));
    const auto after = statOf(ini);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_gid, kNoGroup);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
    EXPECT_EQ(readBytes(ini), testing::realisticWithArchive0("New.bsa"));
}

TEST_F(SaveTest, AFolderThatHandsOutItsGroupLeavesTheFilesGroupAsItWas) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give the folder another group";
    }
    constexpr gid_t kNoGroup = 65534;
    writeBytes(ini, kRealistic);
    ASSERT_EQ(::chown(folder.path().c_str(), 0, kNoGroup), 0);
    ::chmod(folder.path().c_str(), 02775);  // new files take the folder's group
    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    EXPECT_EQ(statOf(ini).st_gid, 0u);
}

TEST_F(SaveTest, AFileNoOneMayWriteStaysUnchangedEvenForRoot) {
    writeBytes(ini, kRealistic);
    ::chmod(ini.c_str(), 0444);
    const Status refused = file.write("Archives", "Archive 0", "New.bsa");
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.reason().find("read-only"), std::string::npos) << refused.reason();
    EXPECT_EQ(refused.cause(), Status::Cause::Other) << "no one's access would help";
    EXPECT_FALSE(platform::checkSaveable(ini));
    EXPECT_EQ(readBytes(ini), kRealistic);
}

// The window names a way on for a refusal of access, so the refusal must say that it is one.
TEST_F(SaveTest, AFileAnotherUserOwnsIsRefusedAsAccessDenied) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to own a file that the test's user may not write";
    }
    writeBytes(ini, kRealistic);
    ::chmod(ini.c_str(), 0644);
    ::chmod(folder.path().c_str(), 0755);
    EXPECT_TRUE(testing::runUnprivileged([&]() -> std::string {
        for (const Status& refused :
             {platform::checkSaveable(ini), file.write("Archives", "Archive 0", "New.bsa")}) {
            if (refused || refused.cause() != Status::Cause::AccessDenied) {
                return "not refused as access denied: \"" + refused.reason() + "\"";
            }
        }
        return "";
    }));
    EXPECT_EQ(readBytes(ini), kRealistic);
}

TEST_F(SaveTest, NamesAtTheFileSystemsLimitAreSavedAndCopied) {
    const auto longIni = folder / (std::string(251, 's') + ".ini");
    writeBytes(longIni, kRealistic);
    const Status written = SettingsFile(longIni).write("Archives", "Archive 0", "New.bsa");
    ASSERT_TRUE(written) << written.reason();
    EXPECT_EQ(readBytes(longIni), testing::realisticWithArchive0("New.bsa"));

    const auto source = folder / (std::string(251, 'a') + ".bsa");
    writeBytes(source, std::string(100000, 'b'));
    fs::create_directory(folder / "Data Files");
    const auto destination = folder / "Data Files" / source.filename();
    const auto copied = platform::copyFile(source, destination, [](auto, auto) { return true; });
    ASSERT_TRUE(copied) << copied.reason();
    ASSERT_EQ(copied.value(), platform::CopyOutcome::Copied);
    EXPECT_EQ(readBytes(destination), readBytes(source));
    EXPECT_EQ(TemporaryFolder::listingOf(folder / "Data Files"), source.filename().string());
}

TEST_F(SaveTest, LeftoversOfEndedSavesGoWithTheNextSaveButNotThoseInUse) {
    writeBytes(ini, kRealistic);
    writeBytes(folder / ".varnock-app.ini.Ended1", "left by a save that was ended");
    writeBytes(folder / ".varnock-app.ini.InUse1", "being written now");
    writeBytes(folder / ".varnockrc", "not ours to remove");
    const int inUse = ::open((folder / ".varnock-app.ini.InUse1").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(inUse, LOCK_EX), 0);
    // A leftover must have stood a moment, so that a file just being made is never taken.
    ASSERT_TRUE(file.write("Archives", "Archive 0", "Early.bsa"));
    EXPECT_EQ(folder.listing(),
              ".varnock-app.ini.Ended1 .varnock-app.ini.InUse1 .varnockrc app.ini");
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    ASSERT_TRUE(file.write("Archives", "Archive 0", "New.bsa"));
    EXPECT_EQ(folder.listing(), ".varnock-app.ini.InUse1 .varnockrc app.ini");
    ::close(inUse);
}

TEST_F(SaveTest, AnUnfinishedInPlaceSaveIsNamedAndStopsTheNextUntilItIsDealtWith) {
    writeBytes(ini, kRealistic);
    fs::create_hard_link(ini, folder / "other.ini");
    const auto info = statOf(ini);
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%" PRIx64 "-%" PRIx64 "-",
                  static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino));
    fs::create_directories(cache / "varnock");
    const auto copy = cache / "varnock" / (std::string(prefix) + std::string(16, '0') + "-app.ini");
    writeBytes(copy, "the bytes the file had before a save that was ended");

    const Status refused = file.write("Archives", "Archive 0", "New.bsa");
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.reason().find(copy.string()), std::string::npos) << refused.reason();
    EXPECT_EQ(readBytes(ini), kRealistic);

    // Once the user has put the file right, a copy that holds what the file holds is stale.
    writeBytes(copy, kRealistic);
    const Status written = file.write("Archives", "Archive 0", "New.bsa");
    ASSERT_TRUE(written) << written.reason();
    EXPECT_EQ(readBytes(folder / "other.ini"), testing::realisticWithArchive0("New.bsa"));
    EXPECT_EQ(keptCopies(), "");
}

TEST_F(SaveTest, AWriteInPlaceThatFailsPutsTheOldBytesBack) {
    writeBytes(ini, kRealistic);
    fs::create_hard_link(ini, folder / "other.ini");
    // The limit lets the old size be written again but not the new, larger one.
    EXPECT_TRUE(testing::runInChild([&]() -> std::string {
        const rlimit limit{kRealistic.size(), kRealistic.size()};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return "cannot limit the file size";
        }
        const Status written = file.write("Archives", "Archive 0", std::string(100, 'n'));
        if (written) {
            return "the write reported success";
        }
        return written.reason().find("was not changed") != std::string::npos
                   ? ""
                   : "the reason does not say the file is unchanged: " + written.reason();
    }));
    EXPECT_EQ(readBytes(ini), kRealistic);
    EXPECT_EQ(keptCopies(), "");
}

// A file system of its own kind mounted for one test, where the machine allows mounting.
class Mount {
public:
    Mount(const fs::path& at, const std::string& how) : m_at(at) {
        fs::create_directory(at);
        m_mounted = ::geteuid() == 0 && succeeds("mount " + how + " " + quoted(at));
    }
    ~Mount() {
        if (m_mounted && !succeeds("umount " + quoted(m_at))) {
            ADD_FAILURE() << "cannot unmount " << m_at;
        }
    }
    bool mounted() const { return m_mounted; }

private:
    fs::path m_at;
    bool m_mounted = false;
};

TEST_F(SaveTest, OnTmpfsAndExt2BothWaysOfSavingWork) {
    const auto image = folder / "ext2.img";
    const bool madeImage =
        succeeds("truncate -s 8M " + quoted(image)) && succeeds("mkfs.ext2 -q -F " + quoted(image));
    const std::pair<std::string, std::string> kinds[] = {
        {"tmpfs", "-t tmpfs -o size=4m none"},
        {"ext2", "-o loop " + quoted(image)},
    };
    int tried = 0;
    for (const auto& [kind, how] : kinds) {
        if (kind == "ext2" && !madeImage) {
            continue;
        }
        Mount mount(folder / kind, how);
        if (!mount.mounted()) {
            continue;
        }
        ++tried;
        const auto there = folder / kind / "app.ini";
        writeBytes(there, kRealistic);
        SettingsFile settings(there);
        const Status replaced = settings.write("Archives", "Archive 0", "New.bsa");
        EXPECT_TRUE(replaced) << kind << ": " << replaced.reason();
        // In place, growing the file: ext2 cannot reserve space ahead, and needs not.
        fs::create_hard_link(there, folder / kind / "other.ini");
        const Status inPlace = settings.write("Archives", "Archive 9", std::string(150, 'g'));
        EXPECT_TRUE(inPlace) << kind << ": " << inPlace.reason();
        EXPECT_EQ(readBytes(folder / kind / "other.ini"), readBytes(there)) << kind;
        EXPECT_EQ(settings.read("Archives", "Archive 9"), std::string(150, 'g')) << kind;
        EXPECT_EQ(settings.read("Archives", "Archive 0"), "New.bsa") << kind;
    }
    if (tried == 0) {
        GTEST_SKIP() << "this machine does not allow mounting a tmpfs or an ext2 image";
    }
}

}  // namespace
}  // namespace varnock
