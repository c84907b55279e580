// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowSession.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "PathHelpers.h"
#include "ScriptedWindowView.h"
#include "TemporaryFolder.h"
#include "WatchedPaths.h"

namespace varnock::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

constexpr std::string_view kNotFound = "Not found in the \"Data Files\" folder";

// An entry marked missing or not, as the session shows it.
ShownEntry shown(std::string name, bool selected, bool missing) {
    ShownEntry entry;
    entry.name = std::move(name);
    entry.selected = selected;
    entry.missing = missing;
    entry.note = missing ? std::string(kNotFound) : "";
    return entry;
}

class MainWindowSessionTest : public ::testing::Test {
protected:
    std::string path(const fs::path& p) const { return utf8FromPath(p); }
    std::string writeIni(std::string_view name, std::string_view bytes) {
        writeBytes(folder / name, bytes);
        return path(folder / name);
    }
    void chooseIni(const std::string& ini) {
        view.chooser.answers.push_back(ini);
        session.chooseSettingsFile();
    }

    TemporaryFolder folder;
    ScriptedWindowView view;
    MainWindowSession session{view};
};

TEST_F(MainWindowSessionTest, ChoosingFilesPassesTheExtensionTestOrChangesNothing) {
    // Only the [Archives] section counts, listed in slot order whatever the order of its lines.
    const std::string ini = writeIni(
        "app.ini", "[General]\r\nArchive 0=no\r\n[Archives]\r\nArchive 2=c\r\nArchive 0=a\r\n");
    chooseIni(ini);
    EXPECT_EQ(view.iniLabel, ini);
    EXPECT_EQ(view.watched, ini);
    EXPECT_EQ(view.names(), (Names{"a", "c"}));

    // Neither an archive nor a refused choice reads the settings file again.
    writeIni("app.ini", "[Archives]\r\nArchive 0=changed\r\n");
    view.chooser.answers = {path(folder / "x.Bsa"), "",
                            writeIni("notes.txt", "[Archives]\r\nArchive 0=other\r\n"), "",
                            path(folder / "y.bsa.bak")};
    session.chooseArchive();
    session.chooseArchive();       // cancelled
    session.chooseSettingsFile();  // wrong type
    session.chooseSettingsFile();  // cancelled
    session.chooseArchive();       // wrong type
    EXPECT_EQ(session.archivePath(), path(folder / "x.Bsa"));
    EXPECT_EQ(view.archiveLabel, path(folder / "x.Bsa"));
    EXPECT_EQ(session.iniPath(), ini);
    EXPECT_EQ(view.names(), (Names{"a", "c"}));
    EXPECT_EQ(view.chooser.filters,
              (Names{"Initialization settings file (*.INI)", "Archive file (*.BSA)",
                     "Archive file (*.BSA)", "Initialization settings file (*.INI)",
                     "Initialization settings file (*.INI)", "Archive file (*.BSA)"}));
    EXPECT_TRUE(view.scripted.shown.empty());

    // Chosen again, the same file is read as it is now.
    chooseIni(ini);
    EXPECT_EQ(view.names(), Names{"changed"});
}

// Each kind's dialog opens where that kind was last chosen (the other kind's folder before
// the first), or in the nearest folder above it that still exists.
TEST_F(MainWindowSessionTest, EachKindOfFileHasItsOwnFolder) {
    fs::create_directories(folder / "downloads");
    fs::create_directories(folder / "game" / "old");
    view.chooser.answers = {path(folder / "downloads" / "x.bsa"),
                            path(folder / "game" / "old" / "app.ini"), "", "", ""};
    session.chooseArchive();
    session.chooseSettingsFile();  // an unreadable file: the folder is remembered all the same
    session.chooseArchive();
    fs::remove_all(folder / "game" / "old");
    session.chooseSettingsFile();
    EXPECT_EQ(view.chooser.startFolders,
              (Names{"", folderOf(path(folder / "downloads" / "x.bsa")),
                     folderOf(path(folder / "downloads" / "x.bsa")), path(folder / "game")}));
}

TEST_F(MainWindowSessionTest, AnUnreadableSettingsFileIsToldAndTheFormerChoiceStays) {
    const std::string ini = writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\n");
    chooseIni(ini);
    fs::create_directory(folder / "folder.ini");
    chooseIni(path(folder / "folder.ini"));
    ASSERT_EQ(view.scripted.warned.size(), 1u);
    EXPECT_TRUE(view.scripted.warned[0].starts_with("Cannot read \"" + path(folder / "folder.ini")))
        << view.scripted.warned[0];
    EXPECT_EQ(session.iniPath(), ini);
    EXPECT_EQ(view.iniLabel, ini);
    EXPECT_EQ(view.watched, ini);
    EXPECT_EQ(view.names(), Names{"a"});

    // A file without archives reads well: it is taken, with an empty list.
    const std::string empty = writeIni("empty.ini", "[General]\r\nx=1\r\n");
    chooseIni(empty);
    EXPECT_EQ(session.iniPath(), empty);
    EXPECT_TRUE(view.list.empty());
    EXPECT_EQ(view.scripted.warned.size(), 1u);
}

TEST_F(MainWindowSessionTest, RegisteringRefillsAndScrollsOnlyWhenSomethingChanged) {
    fs::create_directory(folder / "Data Files");
    writeBytes(folder / "Data Files" / "new.bsa", "archive");
    // A value of four characters or fewer leaves its slot free for a registration.
    const std::string ini =
        writeIni("app.ini", "[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=b.bsa\r\nArchive 2=ab\r\n");
    session.registerChosenArchive();  // nothing chosen yet
    chooseIni(ini);
    const int shownBefore = view.listsShown;
    session.registerChosenArchive();
    view.chooser.answers.push_back(path(folder / "a.bsa"));
    session.chooseArchive();
    session.registerChosenArchive();
    EXPECT_EQ(view.listsShown, shownBefore) << "a registration that changed nothing refilled";

    view.chooser.answers.push_back(path(folder / "Data Files" / "new.bsa"));
    session.chooseArchive();
    session.registerChosenArchive();
    EXPECT_EQ(view.names(), (Names{"a.bsa", "b.bsa", "new.bsa"}));
    EXPECT_EQ(view.scrolledTo, std::vector<SlotIndex>{2});
    EXPECT_EQ(view.scripted.shown,
              (Names{"Select Archive first.", "Select Archive first.",
                     "a.bsa is already registered.", "new.bsa registered successfully."}));

    // Nothing was written to a file that can no longer be read: the list stays as it was.
    fs::remove(folder / "app.ini");
    fs::create_directory(folder / "app.ini");
    view.scripted.shown.clear();
    session.registerChosenArchive();
    ASSERT_EQ(view.scripted.shown.size(), 1u);
    EXPECT_EQ(view.scripted.warned, view.scripted.shown);
    EXPECT_TRUE(view.scripted.warned[0].starts_with("new.bsa was not registered. Cannot read"))
        << view.scripted.warned[0];
    EXPECT_EQ(view.names(), (Names{"a.bsa", "b.bsa", "new.bsa"}));
}

TEST_F(MainWindowSessionTest, UnregisteringRemovesWhatTheUserSelected) {
    session.unregisterSelected();  // nothing listed: nothing happens
    EXPECT_EQ(view.listsShown, 0);
    const std::string ini = writeIni(
        "app.ini", "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=c\r\nArchive 3=d\r\n");
    chooseIni(ini);
    view.select({0, 2, 3});
    session.unregisterSelected();
    EXPECT_EQ(readBytes(folder / "app.ini"), "[Archives]\r\nArchive 0=b\r\n");
    EXPECT_EQ(view.list, (std::vector<ShownEntry>{shown("b", false, true)}));
    EXPECT_EQ(view.scripted.shown, Names{"Archive(s) unregistered successfully."});
}

TEST_F(MainWindowSessionTest, TheListFollowsTheFileKeepingTheSelectionOfUnchangedEntries) {
    const std::string ini =
        writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=c\r\n");
    chooseIni(ini);
    view.select({0, 2});
    writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=other\r\n");
    EXPECT_TRUE(session.followSettingsFile());
    EXPECT_EQ(view.list, (std::vector<ShownEntry>{shown("a", true, true), shown("b", false, true),
                                                  shown("other", false, true)}));

    // Unchanged content leaves the list alone, scroll position and all.
    const int shownBefore = view.listsShown;
    EXPECT_TRUE(session.followSettingsFile());
    EXPECT_EQ(view.listsShown, shownBefore);

    // A file that cannot be read now may be a passing state: the list stays.
    fs::remove(folder / "app.ini");
    fs::create_directory(folder / "app.ini");
    EXPECT_TRUE(session.followSettingsFile());
    EXPECT_EQ(view.names(), (Names{"a", "b", "other"}));
    EXPECT_TRUE(view.scripted.shown.empty());
}

TEST_F(MainWindowSessionTest, ADroppedFileIsTakenAsIfChosenAndAnythingElseChangesNothing) {
    const std::string ini = writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\n");
    const std::string archive = path(folder / "x.BSA");
    for (const Names& refused : {Names{}, Names{path(folder / "notes.txt")}, Names{""},
                                 Names{ini, archive}, Names{archive, archive}}) {
        EXPECT_FALSE(session.acceptsDrop(refused)) << refused.size();
        session.dropFiles(refused);
    }
    EXPECT_EQ(view.listsShown, 0);
    EXPECT_TRUE(view.archiveLabel.empty());
    EXPECT_TRUE(view.iniLabel.empty());

    ASSERT_TRUE(session.acceptsDrop({ini}));
    session.dropFiles({ini});
    EXPECT_EQ(view.iniLabel, ini);
    EXPECT_EQ(view.watched, ini);
    EXPECT_EQ(view.names(), Names{"a"});
    session.dropFiles({archive});
    EXPECT_EQ(session.archivePath(), archive);
    EXPECT_EQ(view.names(), Names{"a"});

    // The same refusal as a choice: the former settings file stays.
    fs::create_directory(folder / "folder.ini");
    session.dropFiles({path(folder / "folder.ini")});
    ASSERT_EQ(view.scripted.warned.size(), 1u);
    EXPECT_TRUE(view.scripted.warned[0].starts_with("Cannot read")) << view.scripted.warned[0];
    EXPECT_EQ(session.iniPath(), ini);
    EXPECT_TRUE(view.chooser.filters.empty()) << "a drop opened the file dialog";
}

TEST_F(MainWindowSessionTest, EntriesMissingFromDataFilesAreMarkedAndFollowTheFolder) {
    fs::create_directory(folder / "Data Files");
    writeBytes(folder / "Data Files" / "here.bsa", "archive");
    chooseIni(writeIni("app.ini", "[Archives]\r\nArchive 0=here.bsa\r\nArchive 1=gone.bsa\r\n"));
    EXPECT_EQ(view.list, (std::vector<ShownEntry>{shown("here.bsa", false, false),
                                                  shown("gone.bsa", false, true)}));
    view.select({1});
    writeBytes(folder / "Data Files" / "gone.bsa", "archive");
    EXPECT_TRUE(session.followSettingsFile());
    EXPECT_EQ(view.list, (std::vector<ShownEntry>{shown("here.bsa", false, false),
                                                  shown("gone.bsa", true, false)}));
    fs::remove_all(folder / "Data Files");
    EXPECT_TRUE(session.followSettingsFile());
    EXPECT_EQ(view.list, (std::vector<ShownEntry>{shown("here.bsa", false, true),
                                                  shown("gone.bsa", true, true)}));
}

TEST_F(MainWindowSessionTest, EntriesBehindAGapAreShownMarkedAndMoveBackByKeys) {
    const std::string ini = writeIni(
        "app.ini", "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 3=d\r\nArchive 5=B\r\n");
    chooseIni(ini);
    ASSERT_EQ(view.names(), (Names{"a", "b", "d", "B"}));
    EXPECT_FALSE(view.list[1].notLoaded);
    EXPECT_TRUE(view.list[2].notLoaded);
    EXPECT_EQ(view.list[2].icon(), ShownEntry::Icon::NotLoaded);
    EXPECT_EQ(view.list[2].note,
              "Not loaded: slot 2 is empty, and the other application stops reading there.\n" +
                  std::string(kNotFound));
    EXPECT_TRUE(view.list[3].registeredTwice) << "b and B name one file";
    EXPECT_NE(view.list[3].note.find("Registered twice: slot 1 holds the same archive."),
              std::string::npos)
        << view.list[3].note;

    view.select({2});
    const auto menu = session.listMenu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].caption, "Move Up");
    EXPECT_TRUE(menu[0].enabled && menu[1].enabled && menu[2].enabled);
    session.moveSelected(MoveDirection::Up);
    EXPECT_EQ(readBytes(folder / "app.ini"),
              "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=d\r\nArchive 5=B\r\n");
    EXPECT_EQ(view.selectedEntries(), std::vector<int>{2}) << "the selection follows d";
    EXPECT_EQ(view.current, 2);
    EXPECT_FALSE(view.list[2].notLoaded);

    // Up from slot 0 is refused; the last entry cannot go further down.
    view.list[2].selected = false;
    view.select({0, 3});
    EXPECT_TRUE(session.listMenu()[0].enabled) << "B can still move up";
    view.list[3].selected = false;
    EXPECT_FALSE(session.listMenu()[0].enabled);
    view.list[0].selected = false;
    view.select({3});
    EXPECT_FALSE(session.listMenu()[1].enabled);
    view.list[3].selected = false;
    EXPECT_FALSE(session.listMenu()[2].enabled) << "nothing selected to unregister";
    EXPECT_TRUE(view.scripted.shown.empty());
}

TEST_F(MainWindowSessionTest, AMoveOverAListThatNoLongerShowsTheFileChangesNothing) {
    const std::string ini =
        writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=c\r\n");
    chooseIni(ini);
    view.select({2});
    // Another program fills a gap the list does not know of, behind the moved entry.
    const std::string changed =
        "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=c\r\nArchive 4=x\r\n";
    writeBytes(folder / "app.ini", changed);
    session.run(ListCommand::MoveUp);
    EXPECT_EQ(readBytes(folder / "app.ini"), changed);
    ASSERT_EQ(view.scripted.warned.size(), 1u);
    EXPECT_TRUE(view.scripted.warned[0].find("nothing was moved") != std::string::npos)
        << view.scripted.warned[0];
    EXPECT_EQ(view.names(), (Names{"a", "b", "c", "x"})) << "the list shows the file as it is";
}

TEST_F(MainWindowSessionTest, UnregisteringFromTheMiddleKeepsTheRestLoadedAndThePlace) {
    chooseIni(writeIni("app.ini",
                       "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=c\r\nArchive "
                       "4=e\r\n"));
    view.select({1});
    session.unregisterSelected();
    EXPECT_EQ(readBytes(folder / "app.ini"),
              "[Archives]\r\nArchive 0=a\r\nArchive 1=c\r\nArchive 3=e\r\n");
    EXPECT_EQ(view.names(), (Names{"a", "c", "e"}));
    EXPECT_TRUE(view.list[2].notLoaded) << "e stays behind its gap";
    EXPECT_EQ(view.current, 1) << "the place of the removed entry stays current";
    EXPECT_TRUE(view.scripted.shown.empty());
}

TEST(WatchedPathsTest, TheListFollowsTheFileAndDataFilesWhateverTheirCase) {
    const std::string sep(1, preferredSeparator());
    const WatchedPaths paths = watchedPathsOf("game" + sep + "app.ini");
    EXPECT_EQ(paths.settingsFile, "game" + sep + "app.ini");
    EXPECT_EQ(paths.folder, "game" + sep);
    EXPECT_EQ(paths.dataFiles, "game" + sep + "Data Files");
    for (const std::string& name :
         Names{"app.ini", "APP.INI", "Data Files", "data files" + sep + "x.bsa"}) {
        EXPECT_TRUE(concernsList(name, "app.ini")) << name;
    }
    for (const std::string& name :
         Names{"other.ini", "Data Files.bak", "Saves" + sep + "Data Files"}) {
        EXPECT_FALSE(concernsList(name, "app.ini")) << name;
    }
}

// A dialog that, while open, is told of a change of the settings file.
class ChooserNoticingAChange final : public FileChooser {
public:
    explicit ChooserNoticingAChange(MainWindowSession& session) : m_session(session) {}
    std::string chooseFile(const FileKind&, const std::string&) override {
        followed = m_session.followSettingsFile();
        return {};
    }
    bool followed = true;

private:
    MainWindowSession& m_session;
};

TEST_F(MainWindowSessionTest, TheListWaitsWhileAnActionRunsOrADialogIsOpen) {
    chooseIni(writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\n"));
    writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\n");
    view.dialogOpen = true;
    EXPECT_FALSE(session.followSettingsFile());
    view.dialogOpen = false;

    // An action runs while its dialog is open: the change waits for it.
    ChooserNoticingAChange noticing(session);
    view.currentChooser = &noticing;
    session.chooseArchive();
    EXPECT_FALSE(noticing.followed);
    EXPECT_EQ(view.names(), Names{"a"});

    EXPECT_TRUE(session.followSettingsFile());
    EXPECT_EQ(view.names(), (Names{"a", "b"}));
}

// Prompts whose message box cannot be shown, as when memory runs out; with warned null, not
// even a warning can be shown, and what is thrown is no std::exception.
class FailingPrompts final : public UserPrompts {
public:
    explicit FailingPrompts(Names* warned) : m_warned(warned) {}
    void showMessage(const std::string&) override { throw std::runtime_error("out of memory"); }
    void showWarning(const std::string& text) override {
        if (!m_warned) {
            throw 0;
        }
        m_warned->push_back(text);
    }
    Answer askYesNo(const std::string&, Answer) override {
        throw std::runtime_error("out of memory");
    }

private:
    Names* m_warned;
};

TEST_F(MainWindowSessionTest, AnUnexpectedErrorIsToldAndTheListShowsTheFile) {
    chooseIni(writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\n"));
    writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\n");
    Names warned;
    FailingPrompts failing(&warned);
    view.currentPrompts = &failing;
    session.registerChosenArchive();  // "Select Archive first." cannot be shown
    EXPECT_EQ(warned, Names{"Varnock could not finish: out of memory"});
    EXPECT_EQ(view.names(), (Names{"a", "b"}));

    FailingPrompts silent(nullptr);
    view.currentPrompts = &silent;
    EXPECT_NO_THROW(session.registerChosenArchive());
    EXPECT_NO_THROW(session.unregisterSelected());
    EXPECT_EQ(view.names(), (Names{"a", "b"}));
}

}  // namespace
}  // namespace varnock::testing
