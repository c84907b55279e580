// SPDX-License-Identifier: GPL-3.0-or-later
#include "Registration.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#endif

#include "PathHelpers.h"
#include "ScriptedPrompts.h"
#include "TemporaryFolder.h"
#ifndef _WIN32
#include "Unprivileged.h"
#endif

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::writeBytes;

const std::string kQuestion =
    "The archive you selected is not in the \"Data Files\" folder where it is supposed to be. "
    "Copy it?";

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dataFiles);
        fs::create_directories(elsewhere);
    }

    // An archive file with some content of its own.
    fs::path archive(const fs::path& folder, const std::string& name, std::size_t size = 1000) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>(i * 7 + name.size());
        }
        writeBytes(folder / name, bytes);
        return folder / name;
    }

    RegistrationOutcome registerFile(const fs::path& archivePath) {
        return registerArchive(utf8FromPath(archivePath), utf8FromPath(ini), prompts, progress)
            .outcome;
    }

    testing::TemporaryFolder folder;
    fs::path game = folder / "Game";
    fs::path ini = game / "app.ini";
    fs::path dataFiles = game / "Data Files";
    fs::path elsewhere = folder / "Downloads";
    testing::ScriptedPrompts prompts;
    testing::ScriptedProgress progress;
};

TEST_F(RegistrationTest, BothSelectionsAreNeededInOrder) {
    EXPECT_EQ(registerArchive("", "", prompts, progress).outcome,
              RegistrationOutcome::NotRegistered);
    EXPECT_EQ(registerArchive("", utf8FromPath(ini), prompts, progress).outcome,
              RegistrationOutcome::NotRegistered);
    EXPECT_EQ(registerArchive("/x/a.bsa", "", prompts, progress).outcome,
              RegistrationOutcome::NotRegistered);
    EXPECT_EQ(prompts.shown,
              (std::vector<std::string>{"Select Archive first.", "Select Archive first.",
                                        "Select INI first."}));
    EXPECT_FALSE(fs::exists(ini));
}

TEST_F(RegistrationTest, TheNameGoesIntoTheFirstFreeSlotAlone) {
    writeBytes(ini, "[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=b.bsa\r\nArchive 2=c.bsa\r\n");
    EXPECT_EQ(registerFile(archive(dataFiles, "d.bsa")), RegistrationOutcome::Registered);
    EXPECT_EQ(readBytes(ini),
              "[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=b.bsa\r\nArchive 2=c.bsa\r\nArchive "
              "3=d.bsa\r\n");
    EXPECT_EQ(prompts.shown, std::vector<std::string>{"d.bsa registered successfully."});
}

TEST_F(RegistrationTest, ShortValuesCountAsFreeAndGapsHideLaterDuplicates) {
    writeBytes(ini, "[Archives]\r\nArchive 0=X.BSA\r\nArchive 1=ab\r\nArchive 3=x.bsa\r\n");
    EXPECT_EQ(registerFile(archive(dataFiles, "x.bsa")), RegistrationOutcome::Registered);
    EXPECT_EQ(readBytes(ini),
              "[Archives]\r\nArchive 0=X.BSA\r\nArchive 1=x.bsa\r\nArchive 3=x.bsa\r\n");
    EXPECT_EQ(registerFile(archive(dataFiles, "y.bsa")), RegistrationOutcome::Registered);
    EXPECT_EQ(ArchiveSlotTable(ini).readSlot(2), "y.bsa");
}

TEST_F(RegistrationTest, ANameAlreadyRegisteredChangesNothingWhereverTheArchiveLies) {
    const std::string text = "[Archives]\r\nArchive 0=x.bsa\r\n";
    writeBytes(ini, text);
    EXPECT_EQ(registerFile(archive(dataFiles, "x.bsa")), RegistrationOutcome::NotRegistered);
    EXPECT_EQ(registerFile(archive(elsewhere, "x.bsa")), RegistrationOutcome::NotRegistered);
    EXPECT_EQ(prompts.shown, (std::vector<std::string>{"x.bsa is already registered.",
                                                       "x.bsa is already registered."}));
    EXPECT_EQ(readBytes(ini), text);
}

TEST_F(RegistrationTest, AFullTableIsSilentAndUnchanged) {
    std::string text = "[Archives]\r\n";
    for (int n = 0; n <= kMaxSlot; ++n) {
        text += "Archive " + std::to_string(n) + "=long" + std::to_string(n) + ".bsa\r\n";
    }
    writeBytes(ini, text);
    EXPECT_EQ(registerFile(archive(elsewhere, "x.bsa")), RegistrationOutcome::NotRegistered);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(readBytes(ini), text);
}

TEST_F(RegistrationTest, AnArchiveOutsideDataFilesIsCopiedThereOnYes) {
    const fs::path source = archive(elsewhere, "x.bsa", 3 << 20);
    prompts.answers = {Answer::Yes};
    EXPECT_EQ(registerFile(source), RegistrationOutcome::Registered);
    const std::string destination = utf8FromPath(dataFiles / "x.bsa");
    EXPECT_EQ(prompts.shown,
              (std::vector<std::string>{kQuestion, destination, "x.bsa registered successfully."}));
    EXPECT_EQ(readBytes(dataFiles / "x.bsa"), readBytes(source));
    EXPECT_EQ(progress.lastCopied, 3u << 20);
    EXPECT_EQ(progress.ended, 1);
    EXPECT_EQ(readBytes(ini), "[Archives]\r\nArchive 0=x.bsa\r\n");
}

TEST_F(RegistrationTest, NoRegistersWithoutCopying) {
    prompts.answers = {Answer::No};
    EXPECT_EQ(registerFile(archive(elsewhere, "x.bsa")), RegistrationOutcome::Registered);
    EXPECT_FALSE(fs::exists(dataFiles / "x.bsa"));
    EXPECT_EQ(prompts.asked, std::vector<std::string>{kQuestion});
    EXPECT_EQ(ArchiveSlotTable(ini).readSlot(0), "x.bsa");
}

TEST_F(RegistrationTest, TheFolderTestIsExactAndCaseSensitive) {
    EXPECT_EQ(registerFile(archive(dataFiles, "in.bsa")), RegistrationOutcome::Registered);
    EXPECT_TRUE(prompts.asked.empty());
    const fs::path lower = game / "data files";
    fs::create_directories(lower);
    EXPECT_EQ(registerFile(archive(lower, "out.bsa")), RegistrationOutcome::Registered);
    EXPECT_EQ(prompts.asked, std::vector<std::string>{kQuestion});
}

#ifndef _WIN32  // needs links, permissions or resource limits
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

#endif

TEST_F(RegistrationTest, AnotherFileAtTheDestinationIsReplacedOnlyWhenTheUserSaysSo) {
    const std::string replaceQuestion =
        "A file named x.bsa is already in the \"Data Files\" folder. Replace it?";
    writeBytes(dataFiles / "x.bsa", "the user's own file");
    const fs::path source = archive(elsewhere, "x.bsa");
    prompts.answers = {Answer::Yes, Answer::No};
    EXPECT_EQ(registerFile(source), RegistrationOutcome::Registered);
    EXPECT_EQ(prompts.asked, (std::vector<std::string>{kQuestion, replaceQuestion}));
    EXPECT_EQ(prompts.defaults, (std::vector<Answer>{Answer::Yes, Answer::No}))
        << "Enter must keep the file in place";
    EXPECT_EQ(readBytes(dataFiles / "x.bsa"), "the user's own file");

    ArchiveSlotTable(ini).deleteSlot(0).ok();
    prompts.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(registerFile(source), RegistrationOutcome::Registered);
    EXPECT_EQ(readBytes(dataFiles / "x.bsa"), readBytes(source));
}

// Prompts whose question is answered while another program changes the settings file.
class ChangingPrompts final : public UserPrompts {
public:
    ChangingPrompts(std::filesystem::path ini, std::string changed)
        : m_ini(std::move(ini)), m_changed(std::move(changed)) {}
    void showMessage(const std::string& text) override { shown.push_back(text); }
    void showWarning(const std::string& text) override { shown.push_back(text); }
    Answer askYesNo(const std::string&, Answer) override {
        writeBytes(m_ini, m_changed);
        return Answer::No;
    }
    std::vector<std::string> shown;

private:
    std::filesystem::path m_ini;
    std::string m_changed;
};

TEST_F(RegistrationTest, TheSlotIsChosenAgainOnTheFileAsItIsWhenTheNameIsWritten) {
    writeBytes(ini, "[Archives]\r\nArchive 0=a.bsa\r\n");
    // During the question another program fills slot 1, the slot first chosen.
    const std::string changed = "[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=other.bsa\r\n";
    ChangingPrompts changing(ini, changed);
    const auto result = registerArchive(utf8FromPath(archive(elsewhere, "x.bsa")),
                                        utf8FromPath(ini), changing, progress);
    EXPECT_EQ(result.outcome, RegistrationOutcome::Registered);
    EXPECT_EQ(result.slot, 2);
    EXPECT_EQ(readBytes(ini), changed + "Archive 2=x.bsa\r\n");
    EXPECT_EQ(changing.shown, std::vector<std::string>{"x.bsa registered successfully."});
}

TEST_F(RegistrationTest, ANameRegisteredDuringTheQuestionIsNotRegisteredTwice) {
    writeBytes(ini, "[Archives]\r\nArchive 0=a.bsa\r\n");
    const std::string changed = "[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=x.bsa\r\n";
    ChangingPrompts changing(ini, changed);
    const auto result = registerArchive(utf8FromPath(archive(elsewhere, "x.bsa")),
                                        utf8FromPath(ini), changing, progress);
    EXPECT_EQ(result.outcome, RegistrationOutcome::Failed) << "the list must be refilled";
    EXPECT_EQ(readBytes(ini), changed);
    EXPECT_EQ(changing.shown, std::vector<std::string>{"x.bsa is already registered."});
}

class RegistrationFailureTest : public RegistrationTest {
protected:
    void expectNothingRegistered(const std::string& settingsBefore) {
        EXPECT_EQ(readBytes(ini), settingsBefore);
        for (const auto& text : prompts.shown) {
            EXPECT_EQ(text.find(" registered successfully."), std::string::npos) << text;
        }
    }
    const std::string settings = "[Archives]\r\nArchive 0=a.bsa\r\n";
};

#ifndef _WIN32  // needs links, permissions or resource limits
TEST_F(RegistrationFailureTest, ASettingsFileThatCannotBeSavedIsToldBeforeAnyCopy) {
    writeBytes(ini, settings);
    testing::giveToUnprivilegedUser(ini);
    const fs::path source = archive(elsewhere, "x.bsa");
    const auto toldBeforeTheQuestion = [&] {
        prompts.shown.clear();
        prompts.warned.clear();
        prompts.answers = {Answer::Yes};
        return registerFile(source) == RegistrationOutcome::NotRegistered &&
               prompts.shown.size() == 1 && prompts.warned == prompts.shown &&
               prompts.shown[0].starts_with("x.bsa was not registered. Cannot save") &&
               prompts.shown[0].find("app.ini") != std::string::npos;
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

#endif

TEST_F(RegistrationFailureTest, AFailedCopyTellsWhereAndWhyAndRegistersNothing) {
    writeBytes(ini, settings);
    prompts.answers = {Answer::Yes, Answer::Yes};
    fs::remove(dataFiles);
    EXPECT_EQ(registerFile(archive(elsewhere, "x.bsa")), RegistrationOutcome::NotRegistered);
    const std::string reason = prompts.shown.back();
    EXPECT_TRUE(reason.starts_with("x.bsa was not registered: it could not be copied to " +
                                   utf8FromPath(dataFiles / "x.bsa") + "."))
        << reason;
#ifndef _WIN32
    EXPECT_NE(reason.find("No such file or directory"), std::string::npos) << reason;
#endif
    expectNothingRegistered(settings);

    fs::create_directories(dataFiles);
    prompts.answers = {Answer::Yes};
    EXPECT_EQ(registerFile(elsewhere / "vanished.bsa"), RegistrationOutcome::NotRegistered);
    EXPECT_NE(prompts.shown.back().find("Cannot read"), std::string::npos) << prompts.shown.back();
    expectNothingRegistered(settings);
    EXPECT_TRUE(fs::is_empty(dataFiles));
}

#ifndef _WIN32  // needs links, permissions or resource limits
TEST_F(RegistrationFailureTest, AFullDiskDuringTheCopyLeavesNoPartialFile) {
    writeBytes(ini, settings);
    writeBytes(dataFiles / "x.bsa", "older copy");
    const fs::path source = archive(elsewhere, "x.bsa", 4 << 20);
    prompts.answers = {Answer::Yes, Answer::Yes};
    EXPECT_TRUE(testing::runInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1 << 20, 1 << 20};
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
               registerFile(source) == RegistrationOutcome::NotRegistered &&
               prompts.shown.back().find("File too large") != std::string::npos;
    }));
    expectNothingRegistered(settings);
    EXPECT_EQ(readBytes(dataFiles / "x.bsa"), "older copy");
    EXPECT_EQ(testing::TemporaryFolder::listingOf(dataFiles), "x.bsa");
}

#endif

TEST_F(RegistrationFailureTest, ACancelledCopyRemovesThePartialFileSilently) {
    writeBytes(ini, settings);
    progress.cancelAfter = 1;
    prompts.answers = {Answer::Yes};
    EXPECT_EQ(registerFile(archive(elsewhere, "x.bsa", 20 << 20)),
              RegistrationOutcome::NotRegistered);
    EXPECT_EQ(prompts.shown,
              (std::vector<std::string>{kQuestion, utf8FromPath(dataFiles / "x.bsa")}));
    EXPECT_EQ(progress.ended, 1);
    EXPECT_TRUE(fs::is_empty(dataFiles));
    expectNothingRegistered(settings);
}

TEST_F(RegistrationFailureTest, NamesThatCannotBeStoredAreRefusedBeforeAnyCopyWithTheReason) {
    writeBytes(ini, settings);
    const std::pair<std::string, std::string> cases[] = {
        {"x\ty.bsa", "it holds a control character"},
        {"x\u0085.bsa", "it holds a control character"},
        {" x.bsa", "it begins or ends with a space or a tab"},
        {"x.bsa ", "it begins or ends with a space or a tab"},
        {"'x.bsa'", "it is enclosed in quotes, which the reader would remove"},
        {std::string(251, 'n') + ".bsa", "it is longer than 254 characters"},
        {"\u03A9.bsa",
         "it holds \"\u03A9\", a character that the settings file's code page cannot hold"},
    };
    for (const auto& [name, reason] : cases) {
        prompts.shown.clear();
        prompts.warned.clear();
        prompts.answers = {Answer::Yes};
        EXPECT_EQ(registerFile(elsewhere / pathFromUtf8(name)), RegistrationOutcome::NotRegistered)
            << name;
        EXPECT_EQ(prompts.warned,
                  std::vector<std::string>{name + " cannot be registered: " + reason + "."});
        EXPECT_EQ(prompts.shown, prompts.warned);
    }
    EXPECT_EQ(
        registerArchive("/x/a\nArchive 9=b.bsa", utf8FromPath(ini), prompts, progress).outcome,
        RegistrationOutcome::NotRegistered);
    expectNothingRegistered(settings);
    EXPECT_TRUE(fs::is_empty(dataFiles));
}

}  // namespace
}  // namespace varnock
