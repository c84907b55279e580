// SPDX-License-Identifier: GPL-3.0-or-later
// Registration where links, permissions or resource limits come into play.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "RegistrationFixture.h"
#include "Unprivileged.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::RegistrationFailureTest;
using testing::RegistrationTest;
using testing::writeBytes;

TEST_F(RegistrationTest, TheArchiveItselfAtTheDestinationIsNotCopiedOntoItself) {
    // A link makes "data files" the same folder as "Data Files", as a case-blind file system does.
    const fs::path source = archive(dataFiles, "x.bsa");
    const std::string before = readBytes(source);
    fs::create_directory_symlink(dataFiles, game / "data files");
    prompts.answers = {Answer::Yes};
    EXPECT_EQ(registerFile(game / "data files" / "x.bsa"), RegistrationOutcome::Registered);
    EXPECT_EQ(readBytes(source), before);
    EXPECT_EQ(progress.ended, 0);
    EXPECT_EQ(folder.listing(), "Downloads Game");
    EXPECT_EQ(ArchiveSlotTable(ini).readSlot(0), "x.bsa");
}

TEST_F(RegistrationFailureTest, ASettingsFileThatCannotBeSavedIsToldBeforeAnyCopy) {
    writeBytes(ini, settings);
    testing::giveToUnprivilegedUser(ini);
    const fs::path source = archive(elsewhere, "x.bsa");
    const auto toldBeforeTheQuestion = [&]() -> std::string {
        prompts.shown.clear();
        prompts.warned.clear();
        prompts.answers = {Answer::Yes};
        if (registerFile(source) != RegistrationOutcome::NotRegistered) {
            return "the archive was registered";
        }
        if (prompts.shown.size() != 1 || prompts.warned != prompts.shown) {
            return "expected one warning and nothing else, saw " +
                   std::to_string(prompts.shown.size()) + " prompts, " +
                   std::to_string(prompts.warned.size()) + " of them warnings";
        }
        const std::string& told = prompts.shown[0];
        return told.starts_with("x.bsa was not registered. Cannot save") &&
                       told.find("app.ini") != std::string::npos
                   ? ""
                   : "the warning does not say that app.ini cannot be saved: " + told;
    };
    ::chmod(ini.c_str(), 0444);
    EXPECT_TRUE(testing::runUnprivileged(toldBeforeTheQuestion)) << "a read-only file";
    // The folder forbids a new file and the file forbids writing in place.
    ::chmod(ini.c_str(), 0644);
    testing::giveToUnprivilegedUser(game);
    ::chmod(game.c_str(), 0555);
    ::chmod(ini.c_str(), 0444);
    EXPECT_TRUE(testing::runUnprivileged(toldBeforeTheQuestion)) << "a read-only folder and file";
    ::chmod(game.c_str(), 0755);
    expectNothingRegistered(settings);
    EXPECT_TRUE(fs::is_empty(dataFiles));
}

TEST_F(RegistrationFailureTest, AFullDiskDuringTheCopyLeavesNoPartialFile) {
    writeBytes(ini, settings);
    writeBytes(dataFiles / "x.bsa", "older copy");
    const fs::path source = archive(elsewhere, "x.bsa", 4 << 20);
    prompts.answers = {Answer::Yes, Answer::Yes};
    EXPECT_TRUE(testing::runInChild([&]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1 << 20, 1 << 20};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return "cannot limit the file size";
        }
        if (registerFile(source) != RegistrationOutcome::NotRegistered) {
            return "the archive was registered";
        }
        return prompts.shown.back().find("File too large") != std::string::npos
                   ? ""
                   : "the last message does not give the reason: " + prompts.shown.back();
    }));
    expectNothingRegistered(settings);
    EXPECT_EQ(readBytes(dataFiles / "x.bsa"), "older copy");
    EXPECT_EQ(testing::TemporaryFolder::listingOf(dataFiles), "x.bsa");
}

TEST_F(RegistrationTest, AnArchiveOnAnotherFileSystemIsCopiedByReadingAndWriting) {
    // The kernel copies only within one file system; from memory to disk the copy reads and
    // writes itself, in chunks, so several chunks and a partial last one are needed.
    const fs::path memory = "/dev/shm";
    std::error_code ec;
    if (!fs::is_directory(memory, ec) || fs::equivalent(memory, folder.path(), ec)) {
        GTEST_SKIP() << "no file system in memory beside the test folder";
    }
    const fs::path source = memory / ("varnock-copy-test-" + std::to_string(::getpid()) + ".bsa");
    std::string bytes((8u << 20) * 2 + 12345, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 2654435761u >> 7);
    }
    writeBytes(source, bytes);
    prompts.answers = {Answer::Yes};
    const auto outcome = registerFile(source);
    fs::remove(source);
    EXPECT_EQ(outcome, RegistrationOutcome::Registered);
    EXPECT_TRUE(readBytes(dataFiles / source.filename()) == bytes) << "the copy differs";
    EXPECT_EQ(progress.last.step, kCopySteps);
    EXPECT_EQ(testing::TemporaryFolder::listingOf(dataFiles), source.filename().string());
}

}  // namespace
}  // namespace varnock
