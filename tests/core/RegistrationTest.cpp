// SPDX-License-Identifier: GPL-3.0-or-later
#include "Registration.h"

#include <gtest/gtest.h>

#include "RegistrationFixture.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::kQuestion;
using testing::readBytes;
using testing::RegistrationFailureTest;
using testing::RegistrationTest;
using testing::writeBytes;

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

// What the window is given to show of a copy: quick ones are not shown at all.
TEST(CopyReportTest, TellsNameSizesAndStepAndShowsOnlyAfterHalfASecond) {
    using std::chrono::milliseconds;
    EXPECT_EQ(
        copyReport("a.bsa", 0, 1, milliseconds(499)),
        (CopyReport{"Copying a.bsa to the \"Data Files\" folder\n0 bytes of 1 byte", 0, false}));
    EXPECT_EQ(
        copyReport("a.bsa", 1536, 3ull << 30, kCopyShownAfter),
        (CopyReport{"Copying a.bsa to the \"Data Files\" folder\n1.5 KiB of 3.0 GiB", 0, true}));
    EXPECT_EQ(copyReport("a.bsa", 5ull << 40, 10ull << 40, kCopyShownAfter).step, kCopySteps / 2);
    EXPECT_EQ(copyReport("empty.bsa", 0, 0, milliseconds(0)).step, kCopySteps);
}

TEST_F(RegistrationTest, AnArchiveOutsideDataFilesIsCopiedThereOnYes) {
    const fs::path source = archive(elsewhere, "x.bsa", 3 << 20);
    prompts.answers = {Answer::Yes};
    EXPECT_EQ(registerFile(source), RegistrationOutcome::Registered);
    const std::string destination = utf8FromPath(dataFiles / "x.bsa");
    EXPECT_EQ(prompts.shown,
              (std::vector<std::string>{kQuestion, destination, "x.bsa registered successfully."}));
    EXPECT_EQ(readBytes(dataFiles / "x.bsa"), readBytes(source));
    EXPECT_EQ(progress.last.label,
              "Copying x.bsa to the \"Data Files\" folder\n3.0 MiB of 3.0 MiB");
    EXPECT_EQ(progress.last.step, kCopySteps);
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

    ASSERT_TRUE(ArchiveSlotTable(ini).deleteSlot(0));
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
