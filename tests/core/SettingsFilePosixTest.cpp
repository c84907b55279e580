// SPDX-License-Identifier: GPL-3.0-or-later
// Links, permission bits, resource limits and users: the POSIX side of replacing the file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include "ArchiveSlotTable.h"
#include "SampleSettings.h"
#include "SettingsFileFixture.h"
#include "Unprivileged.h"

namespace varnock {
namespace {

using testing::kRealistic;
using testing::readBytes;
using testing::SettingsFileTest;
using testing::writeBytes;

ino_t inodeOf(const std::filesystem::path& p) {
    struct stat info {};
    ::stat(p.c_str(), &info);
    return info.st_ino;
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
    // A file-size limit makes the disk "full" part of the way through the new file; the
    // write must be told it failed, not have the process ended by SIGXFSZ.
    EXPECT_TRUE(testing::runInChild([&]() -> std::string {
        const rlimit limit{16 * 1024, 16 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return "cannot limit the file size";
        }
        return file.write("Archives", "Archive 0", "New.bsa") ? "the write reported success" : "";
    }));
    EXPECT_EQ(readBytes(ini), big);
    EXPECT_EQ(folder.listing(), "app.ini");
}

#if defined(__SANITIZE_ADDRESS__)
#define VARNOCK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VARNOCK_ADDRESS_SANITIZER 1
#endif
#endif

TEST_F(SettingsFileTest, ALargeFileWithTooLittleMemoryLeftIsRefusedAsSuch) {
#ifdef VARNOCK_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit allows";
#else
    constexpr std::size_t kMiB = 1u << 20;
    writeBytes(ini, kRealistic + std::string(60 * kMiB, ';'));
    EXPECT_TRUE(testing::runInChild([&]() -> std::string {
        // Room for what the process holds now and some more, not for the file.
        std::size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t room = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + 24 * kMiB;
        const rlimit limit{room, room};
        if (pages == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) {
            return "cannot limit the address space";
        }
        try {
            const auto read = ArchiveSlotTable(ini).snapshot();
            if (read) {
                return "the file was read within the limit";
            }
            return read.reason().starts_with("Cannot read \"" + ini.string() + "\": there is not " +
                                             "enough memory left to read it")
                       ? ""
                       : "the refusal does not say why: " + read.reason();
        } catch (const std::exception& error) {
            return std::string("the reader let this escape: ") + error.what();
        }
    }));
#endif
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadIsNeverWritten) {
    writeBytes(ini, kRealistic);
    testing::giveToUnprivilegedUser(ini);
    ::chmod(ini.c_str(), 0200);
    EXPECT_TRUE(testing::runUnprivileged([&]() -> std::string {
        const Status status = file.write("Archives", "Archive 0", "New.bsa");
        if (status) {
            return "the write reported success";
        }
        return status.reason().find("not changed") != std::string::npos
                   ? ""
                   : "the reason does not say the file was not changed: " + status.reason();
    }));
    ::chmod(ini.c_str(), 0600);
    EXPECT_EQ(readBytes(ini), kRealistic);
}

TEST_F(SettingsFileTest, AReadOnlyFileIsNotReplaced) {
    writeBytes(ini, kRealistic);
    testing::giveToUnprivilegedUser(ini);
    testing::giveToUnprivilegedUser(folder.path());
    ::chmod(ini.c_str(), 0444);
    EXPECT_TRUE(testing::runUnprivileged([&]() -> std::string {
        return file.write("Archives", "Archive 0", "New.bsa") ? "the write reported success" : "";
    }));
    EXPECT_EQ(readBytes(ini), kRealistic);
    EXPECT_EQ(folder.listing(), "app.ini");
}

TEST_F(SettingsFileTest, AFolderThatForbidsNewFilesGetsTheFileRewrittenInPlace) {
    writeBytes(ini, kRealistic);
    testing::giveToUnprivilegedUser(ini);
    const ino_t before = inodeOf(ini);
    ::chmod(folder.path().c_str(), 0555);
    EXPECT_TRUE(testing::runUnprivileged([&]() -> std::string {
        if (const Status written = file.write("Archives", "Archive 0", "M.bsa"); !written) {
            return "write: " + written.reason();
        }
        const Status removed = file.remove("Archives", "Archive 1");
        return removed ? "" : "remove: " + removed.reason();
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
