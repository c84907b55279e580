// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "PathHelpers.h"
#include "TemporaryFolder.h"

namespace varnock {
namespace {

// Windows-style paths are only text to these functions, except for the copy's existence, which
// is checked where the test made it: a local-app-data folder given as the temporary folder.
class VirtualStoreTest : public ::testing::Test {
protected:
    ProgramFolders folders() const {
        return {localAppData(), "C:\\Program Files", "C:\\Program Files (x86)",
                "C:\\Program Files"};
    }
    std::string localAppData() const { return utf8FromPath(m_folder.path()); }
    // Makes the copy for "C:\" + below and returns its path as the function builds it.
    std::string makeCopy(const std::string& below) {
        std::filesystem::path copy = m_folder.path() / "VirtualStore";
        std::string built = localAppData() + "\\VirtualStore";
        std::string part;
        for (const char c : below + "\\") {
            if (c == '\\') {
                copy /= part;
                built += "\\" + part;
                part.clear();
            } else {
                part += c;
            }
        }
        std::filesystem::create_directories(copy.parent_path());
        std::ofstream(copy) << "[Archives]\r\n";
        // Outside Windows "\" is no separator: the copy is then one long name in the folder.
        return built;
    }

    testing::TemporaryFolder m_folder;
};

TEST_F(VirtualStoreTest, ProgramFoldersAreFoundWithoutRegardToCaseOrSeparator) {
    EXPECT_TRUE(inProgramFolder("C:\\Program Files\\Game\\game.ini", folders()));
    EXPECT_TRUE(inProgramFolder("c:/program files (x86)/Game/game.ini", folders()));
    EXPECT_FALSE(inProgramFolder("C:\\Program Files", folders()));
    EXPECT_FALSE(inProgramFolder("C:\\Program Filesx\\game.ini", folders()));
    EXPECT_FALSE(inProgramFolder("D:\\Games\\game.ini", folders()));
    EXPECT_FALSE(inProgramFolder("C:\\Program Files\\game.ini", ProgramFolders{}));
}

TEST_F(VirtualStoreTest, NoCopyOutsideAProgramFolderOrWithoutOne) {
    EXPECT_EQ(std::nullopt, virtualStoreCopy("D:\\Games\\Game\\game.ini", folders()));
    EXPECT_EQ(std::nullopt, virtualStoreCopy("C:\\Program Files\\Game\\game.ini", folders()));
    ProgramFolders noLocalAppData = folders();
    noLocalAppData.localAppData.clear();
    EXPECT_EQ(std::nullopt, virtualStoreCopy("C:\\Program Files\\Game\\game.ini", noLocalAppData));
}

#ifdef _WIN32
TEST_F(VirtualStoreTest, TheCopyUnderTheDriveIsFoundWhenItExists) {
    const std::string copy = makeCopy("Program Files (x86)\\Game\\game.ini");
    EXPECT_EQ(copy, virtualStoreCopy("C:\\Program Files (x86)\\Game\\game.ini", folders()));
    EXPECT_EQ(std::nullopt, virtualStoreCopy("C:\\Program Files\\Game\\game.ini", folders()));
}
#endif

TEST_F(VirtualStoreTest, ACopyLooksForArchivesInTheProgramFolderToo) {
    const std::string store = localAppData() + "\\VirtualStore\\";
    EXPECT_EQ(virtualStoreOriginal(store + "Program Files (x86)\\Game\\game.ini", folders()),
              "C:\\Program Files (x86)\\Game\\game.ini");
#ifdef _WIN32  // elsewhere "\\" separates no folders
    EXPECT_EQ(dataFilesFolders(store + "program files\\Game\\game.ini", folders()),
              (std::vector<std::string>{store + "program files\\Game\\Data Files\\",
                                        "C:\\program files\\Game\\Data Files\\"}))
        << "the copy's own spelling below the drive, which Windows finds without regard to case";
    EXPECT_EQ(dataFilesFolders("C:\\Program Files\\Game\\game.ini", folders()),
              std::vector<std::string>{"C:\\Program Files\\Game\\Data Files\\"});
#endif
    EXPECT_EQ(std::nullopt, virtualStoreOriginal(store + "Games\\game.ini", folders()));
}

TEST_F(VirtualStoreTest, TheNoticeNamesTheCopy) {
    const std::string notice =
        virtualStoreNotice("C:\\Users\\u\\AppData\\Local\\VirtualStore\\x.ini");
    EXPECT_NE(std::string::npos, notice.find("C:\\Users\\u\\AppData\\Local\\VirtualStore\\x.ini"));
}

struct RecordingPrompts : UserPrompts {
    void showMessage(const std::string& text) override { shown.push_back(text); }
    void showWarning(const std::string& text) override { shown.push_back(text); }
    Answer askYesNo(const std::string& text, Answer answer) override {
        shown.push_back(text);
        return answer;
    }
    std::vector<std::string> shown;
};

// The ways on are named for a refusal of access only: a full disk or a read-only file has other
// remedies, and running as administrator would not help.
TEST_F(VirtualStoreTest, ARefusalOfAccessInAProgramFolderNamesTheWaysOn) {
    RecordingPrompts recorded;
    ProgramFolderPrompts prompts(recorded, "C:\\Program Files\\Game\\game.ini", folders());
    const std::string denied =
        "x.bsa was not registered. Cannot save \"C:\\Program Files\\Game\\game.ini\": Access "
        "is denied.";
    prompts.showFailure(denied, Status::failure("", Status::Cause::AccessDenied));
    const std::string full =
        "x.bsa was not registered. Cannot save \"C:\\Program Files\\Game\\game.ini\": There "
        "is not enough space on the disk.";
    prompts.showFailure(full, Status::failure(""));
    prompts.showWarning("x.bsa cannot be registered: it has a line break.");
    ASSERT_EQ(3u, recorded.shown.size());
    EXPECT_EQ(0u, recorded.shown[0].find(denied)) << recorded.shown[0];
    EXPECT_NE(std::string::npos, recorded.shown[0].find("run Varnock as administrator"));
    EXPECT_NE(std::string::npos, recorded.shown[0].find("VirtualStore"));
    EXPECT_EQ(full, recorded.shown[1]);
    EXPECT_EQ("x.bsa cannot be registered: it has a line break.", recorded.shown[2]);
}

TEST_F(VirtualStoreTest, ARefusalElsewhereIsShownAsItIs) {
    RecordingPrompts recorded;
    ProgramFolderPrompts prompts(recorded, "D:\\Games\\game.ini", folders());
    const std::string refusal =
        "x.bsa was not registered. Cannot save \"D:\\Games\\game.ini\": Access is denied.";
    prompts.showFailure(refusal, Status::failure("", Status::Cause::AccessDenied));
    ASSERT_EQ(1u, recorded.shown.size());
    EXPECT_EQ(refusal, recorded.shown[0]);
}

}  // namespace
}  // namespace varnock
