// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <filesystem>

#include "DimmedText.h"
#include "PathLabel.h"
#include "ScriptedFileChooser.h"
#include "ScriptedPrompts.h"

class FrmMainTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsEmptyWithTheLayoutOfTheDesign();
    void tabOrderFollowsTheDesign();
    void scalesWithTheDesktopAndClipsNothing();
    void longPathsStayWholeBehindAnElidedLabel();
    void listAllowsSeveralSelectedEntries();
    void keysPressButtonsAndDeleteUnregisters();
    void registeringScrollsToTheNewEntry();
    void theListFollowsAnotherProgramsChangeKeepingTheSelection();
    void droppingOneFileChoosesItAndLeavesTheFocus();
    void anArchiveMissingFromDataFilesIsMarked();

private:
    QString writeIni(const QString& name, const QByteArray& bytes);
    // What the next file dialogs return, in order; an empty text cancels one.
    void chooseNext(std::initializer_list<QString> paths);
    QStringList listed() const;
    void click(const char* button);
    void selectRows(std::initializer_list<int> rows);

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<FrmMain> m_window;
    // Owned by the window.
    varnock::testing::ScriptedFileChooser* m_chooser = nullptr;
    varnock::testing::ScriptedPrompts* m_prompts = nullptr;
};

void FrmMainTest::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_window = std::make_unique<FrmMain>();
    auto chooser = std::make_unique<varnock::testing::ScriptedFileChooser>();
    m_chooser = chooser.get();
    m_window->setFileChooser(std::move(chooser));
    auto prompts = std::make_unique<varnock::testing::ScriptedPrompts>();
    m_prompts = prompts.get();
    m_window->setPrompts(std::move(prompts));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void FrmMainTest::cleanup() {
    m_window.reset();
    m_folder.reset();
    // The window's seams stand in for every dialog, so nothing may be left open.
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

QString FrmMainTest::writeIni(const QString& name, const QByteArray& bytes) {
    const QString path = QDir::toNativeSeparators(m_folder->filePath(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void FrmMainTest::chooseNext(std::initializer_list<QString> paths) {
    for (const QString& path : paths) {
        m_chooser->answers.push_back(path.toStdString());
    }
}

QStringList FrmMainTest::listed() const {
    QStringList names;
    const auto* list = m_window->findChild<QListWidget*>("lstArchives");
    for (int i = 0; i < list->count(); ++i) {
        names << list->item(i)->text();
    }
    return names;
}

void FrmMainTest::click(const char* button) {
    auto* cmd = m_window->findChild<QPushButton*>(button);
    QVERIFY(cmd);
    QTest::mouseClick(cmd, Qt::LeftButton);
}

namespace {

// The design, in twips (15 to a pixel at 100 %): left, top, width and height of each control
// within a client area of 4680 by 4215.
struct Designed {
    const char* name;
    QString caption;
    QRect twips;
    QString accessibleName;
};
constexpr QSize kClientTwips(4680, 4215);
const Designed kDesign[] = {
    {"cmdArchive", "Select BSA", {240, 120, 1215, 375}, "Select BSA"},
    {"lblArchive", "", {233, 600, 4215, 255}, "Selected archive"},
    {"cmdINI", "Select INI", {240, 960, 1215, 375}, "Select INI"},
    {"lblINI", "", {233, 1440, 4215, 255}, "Selected settings file"},
    {"lstArchives", "", {233, 1800, 4215, 1230}, "Registered archives"},
    {"cmdUnpatch", "Unregister Archive", {1013, 3240, 2655, 375}, "Unregister Archive"},
    {"cmdPatch", "Register Archive", {1013, 3720, 2655, 375}, "Register Archive"},
};

int pixels(int twips) {
    return qRound(twips / 15.0);
}

// Where the design puts a control, in device-independent pixels: the labels and the list span
// the window with equal margins, the two lower buttons are centred, the rest is as drawn.
QRect designedGeometry(const Designed& control) {
    const QRect& t = control.twips;
    const int clientWidth = pixels(kClientTwips.width());
    QRect pixelRect(pixels(t.x()), pixels(t.y()), pixels(t.width()), pixels(t.height()));
    const QString name = QString::fromLatin1(control.name);
    if (name.startsWith("lbl") || name.startsWith("lst")) {
        pixelRect.setWidth(clientWidth - 2 * pixelRect.x());
    } else if (name == "cmdPatch" || name == "cmdUnpatch") {
        pixelRect.moveLeft(qRound((clientWidth - pixelRect.width()) / 2.0));
    }
    return pixelRect;
}

}  // namespace

void FrmMainTest::startsEmptyWithTheLayoutOfTheDesign() {
    QCOMPARE(m_window->objectName(), QStringLiteral("frmMain"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Varnock"));
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(m_window->size(), QSize(pixels(kClientTwips.width()), pixels(kClientTwips.height())));
    for (const auto& control : kDesign) {
        const auto* widget = m_window->findChild<QWidget*>(control.name);
        QVERIFY2(widget, control.name);
        QCOMPARE(widget->geometry(), designedGeometry(control));
        QCOMPARE(widget->accessibleName(), control.accessibleName);
        if (const auto* cmd = qobject_cast<const QPushButton*>(widget)) {
            QCOMPARE(cmd->text(), control.caption);
        }
    }
    QVERIFY(m_window->archivePath().isEmpty());
    QVERIFY(m_window->iniPath().isEmpty());
    QVERIFY(listed().isEmpty());

    // Resized, the list takes the room; the window is never smaller than designed.
    QCOMPARE(m_window->minimumSize(), m_window->size());
    const QSize designed = m_window->size();
    const auto* list = m_window->findChild<QWidget*>("lstArchives");
    const auto* patch = m_window->findChild<QWidget*>("cmdPatch");
    const QRect listBefore = list->geometry();
    const QRect patchBefore = patch->geometry();
    m_window->resize(designed + QSize(100, 200));
    QCOMPARE(list->geometry(), listBefore.adjusted(0, 0, 100, 200));
    QCOMPARE(patch->geometry(), patchBefore.translated(50, 200));  // centred below the list
    m_window->resize(designed);
}

void FrmMainTest::tabOrderFollowsTheDesign() {
    QStringList order;
    QWidget* widget = m_window->findChild<QWidget*>("cmdArchive");
    for (int i = 0; i < 5; ++i) {
        order << widget->objectName();
        do {
            widget = widget->nextInFocusChain();
        } while (!(widget->focusPolicy() & Qt::TabFocus) || widget->parent() != m_window.get());
    }
    QCOMPARE(order, (QStringList{"cmdArchive", "cmdINI", "cmdPatch", "lstArchives", "cmdUnpatch"}));
}

void FrmMainTest::scalesWithTheDesktopAndClipsNothing() {
    // Run once as it is and once with QT_SCALE_FACTOR=2: the layout is in device-independent
    // pixels, so at 200 % every control is twice as large in device pixels.
    const qreal factor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                             ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                             : 1.0;
    QCOMPARE(m_window->devicePixelRatioF(), factor);
    QCOMPARE(m_window->grab().size(), m_window->size() * factor);
    for (const auto* button : m_window->findChildren<QPushButton*>()) {
        const QFontMetrics metrics = button->fontMetrics();
        QVERIFY2(metrics.horizontalAdvance(button->text()) + 8 <= button->width(),
                 qPrintable(button->objectName()));
        QVERIFY2(metrics.height() + 4 <= button->height(), qPrintable(button->objectName()));
    }
    for (const auto* label : m_window->findChildren<PathLabel*>()) {
        QVERIFY2(label->fontMetrics().height() <= label->height(), qPrintable(label->objectName()));
    }
    const auto* list = m_window->findChild<QListWidget*>("lstArchives");
    QVERIFY(list->fontMetrics().height() * 4 <= list->viewport()->height());
}

void FrmMainTest::longPathsStayWholeBehindAnElidedLabel() {
    // The file need not exist: a choice is taken as the dialog returns it.
    const QString archive = QDir::toNativeSeparators(
        m_folder->filePath(QString("a long folder name/").repeated(12) + "archive.bsa"));
    chooseNext({archive});
    click("cmdArchive");
    const auto* label = m_window->findChild<PathLabel*>("lblArchive");
    QCOMPARE(label->path(), archive);
    QCOMPARE(m_window->archivePath(), archive);
    QCOMPARE(label->toolTip(), archive);
    QVERIFY(label->text().size() < archive.size());
    QVERIFY(label->text().contains(QChar(0x2026)));
    QVERIFY(label->text().endsWith("archive.bsa"));
}

void FrmMainTest::listAllowsSeveralSelectedEntries() {
    chooseNext({writeIni(
        "app.ini", "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=c\r\nArchive 3=d\r\n")});
    click("cmdINI");
    auto* list = m_window->findChild<QListWidget*>("lstArchives");
    const auto rowCenter = [&](int row) { return list->visualItemRect(list->item(row)).center(); };
    const auto selectedRows = [&] {
        QList<int> rows;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->isSelected()) {
                rows << i;
            }
        }
        return rows;
    };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCenter(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCenter(2));
    QCOMPARE(selectedRows(), (QList<int>{0, 1, 2}));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCenter(1));
    QCOMPARE(selectedRows(), (QList<int>{0, 2}));
    // Unregister takes the list's own selection.
    click("cmdUnpatch");
    QCOMPARE(listed(), (QStringList{"b", "d"}));
}

void FrmMainTest::selectRows(std::initializer_list<int> rows) {
    auto* list = m_window->findChild<QListWidget*>("lstArchives");
    for (const int row : rows) {
        const QPoint center = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, center);
    }
}

void FrmMainTest::keysPressButtonsAndDeleteUnregisters() {
    const QString ini =
        writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=c\r\n");
    chooseNext({ini, ini});
    auto* cmdIni = m_window->findChild<QPushButton*>("cmdINI");
    cmdIni->setFocus();
    QTest::keyClick(cmdIni, Qt::Key_Return);
    QCOMPARE(listed(), (QStringList{"a", "b", "c"}));
    QCOMPARE(QApplication::focusWidget(), cmdIni);
    QTest::keyClick(cmdIni, Qt::Key_Space);
    QVERIFY2(m_chooser->answers.empty(), "Space did not press the focused button");

    auto* list = m_window->findChild<QListWidget*>("lstArchives");
    list->setFocus();
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(m_prompts->shown, std::vector<std::string>{"Archive(s) unregistered successfully."});
    QCOMPARE(listed(), (QStringList{"a", "b"}));
}

void FrmMainTest::registeringScrollsToTheNewEntry() {
    QByteArray bytes = "[Archives]\r\n";
    for (int i = 0; i < 40; ++i) {
        bytes += "Archive " + QByteArray::number(i) + "=archive" + QByteArray::number(i) + "\r\n";
    }
    QVERIFY(QDir(m_folder->path()).mkdir("Data Files"));
    const QString archive = QDir::toNativeSeparators(m_folder->filePath("Data Files/new.bsa"));
    QFile newArchive(archive);
    QVERIFY(newArchive.open(QIODevice::WriteOnly));
    chooseNext({writeIni("app.ini", bytes), archive});
    click("cmdINI");
    click("cmdArchive");
    click("cmdPatch");
    auto* list = m_window->findChild<QListWidget*>("lstArchives");
    QCOMPARE(list->count(), 41);
    const QRect entry = list->visualItemRect(list->item(40));
    QVERIFY2(list->viewport()->rect().contains(entry), "the new entry is scrolled out of sight");
    QVERIFY(list->selectedItems().isEmpty());
}

void FrmMainTest::theListFollowsAnotherProgramsChangeKeepingTheSelection() {
    const QString ini =
        writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=c\r\n");
    chooseNext({ini});
    click("cmdINI");
    selectRows({0, 2});
    // Another program saves by renaming a new file over the old one: slot 2 now names
    // another archive, and a slot is added.
    writeIni("new.ini",
             "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\nArchive 2=other\r\n"
             "Archive 3=d\r\n");
    std::filesystem::rename(m_folder->filePath("new.ini").toStdString(), ini.toStdString());
    QTRY_COMPARE_WITH_TIMEOUT(listed(), (QStringList{"a", "b", "other", "d"}), 1000);
    const auto* list = m_window->findChild<QListWidget*>("lstArchives");
    QList<int> selected;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) {
            selected << i;
        }
    }
    QCOMPARE(selected, QList<int>{0});

    // And it goes on following the file that took the old one's place.
    writeIni("app.ini", "[Archives]\r\nArchive 0=a\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(listed(), QStringList{"a"}, 1000);
    QVERIFY(m_prompts->shown.empty());
}

namespace {

// Drags paths over the list and drops them there, as a file manager would; whether the window
// took the drag.
bool dropOn(QWidget* window, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    data.setUrls(urls);
    const QPoint over = window->findChild<QListWidget*>("lstArchives")->geometry().center();
    QDragEnterEvent enter(over, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(over, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

}  // namespace

void FrmMainTest::droppingOneFileChoosesItAndLeavesTheFocus() {
    const QString ini = writeIni("app.ini", "[Archives]\r\nArchive 0=a.bsa\r\n");
    const QString archive = QDir::toNativeSeparators(m_folder->filePath("x.bsa"));
    auto* cmdPatch = m_window->findChild<QPushButton*>("cmdPatch");
    cmdPatch->setFocus();
    QVERIFY(!dropOn(m_window.get(), {ini, archive}));
    QVERIFY(!dropOn(m_window.get(), {m_folder->filePath("notes.txt")}));
    QVERIFY(m_window->iniPath().isEmpty());

    QVERIFY(dropOn(m_window.get(), {ini}));
    QCOMPARE(m_window->iniPath(), ini);
    QCOMPARE(listed(), QStringList{"a.bsa"});
    QVERIFY(dropOn(m_window.get(), {archive}));
    QCOMPARE(m_window->archivePath(), archive);
    QCOMPARE(QApplication::focusWidget(), cmdPatch);
    QVERIFY(m_chooser->filters.empty());
    QVERIFY(m_prompts->shown.empty());
}

void FrmMainTest::anArchiveMissingFromDataFilesIsMarked() {
    QVERIFY(QDir(m_folder->path()).mkdir("Data Files"));
    QFile here(m_folder->filePath("Data Files/here.bsa"));
    QVERIFY(here.open(QIODevice::WriteOnly));
    chooseNext({writeIni("app.ini", "[Archives]\r\nArchive 0=here.bsa\r\nArchive 1=gone.bsa\r\n")});
    click("cmdINI");
    QCOMPARE(listed(), (QStringList{"here.bsa", "gone.bsa"}));
    const auto* list = m_window->findChild<QListWidget*>("lstArchives");
    const QListWidgetItem* present = list->item(0);
    const QListWidgetItem* missing = list->item(1);
    // The present entry's icon is a blank that keeps both names aligned.
    QCOMPARE(present->icon().pixmap(list->iconSize()).toImage().pixelColor(2, 2).alpha(), 0);
    QVERIFY(present->toolTip().isEmpty());
    QVERIFY(present->data(Qt::AccessibleDescriptionRole).toString().isEmpty());
    QVERIFY2(list->iconSize().height() <= list->fontMetrics().height(),
             "the mark makes the row taller than a line of text");
    QVERIFY(!missing->icon().isNull());
    const QString notFound = "Not found in the \"Data Files\" folder";
    QCOMPARE(missing->toolTip(), notFound);
    QCOMPARE(missing->data(Qt::AccessibleDescriptionRole).toString(), notFound);
    QVERIFY2(missing->foreground().color() != present->foreground().color() ||
                 present->foreground().style() == Qt::NoBrush,
             "the missing entry is not dimmed");
    // Dimmed, yet readable: at least the contrast WCAG 2 asks of text.
    const auto rgb = [](const QColor& c) {
        return varnock::Rgb{static_cast<std::uint8_t>(c.red()),
                            static_cast<std::uint8_t>(c.green()),
                            static_cast<std::uint8_t>(c.blue())};
    };
    const QColor base = list->palette().color(QPalette::Base);
    QVERIFY(varnock::contrastRatio(rgb(missing->foreground().color()), rgb(base)) >=
            varnock::kTextContrast);
    QVERIFY(varnock::contrastRatio(rgb(missing->foreground().color()), rgb(base)) <
            varnock::contrastRatio(rgb(list->palette().color(QPalette::Text)), rgb(base)));

    // Emptied by another program while the entry's tip shows: the tip goes with the entry.
    QToolTip::showText(list->viewport()->mapToGlobal(list->visualItemRect(missing).center()),
                       notFound, list->viewport());
    QVERIFY(QToolTip::isVisible());
    writeIni("app.ini", "[Archives]\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(listed(), QStringList{}, 1000);
    // Qt hides a tip after a short delay; its own timeout is many seconds.
    QTRY_VERIFY2_WITH_TIMEOUT(!QToolTip::isVisible(), "the tip outlived its entry", 1000);
}

QTEST_MAIN(FrmMainTest)
#include "FrmMainTest.moc"
