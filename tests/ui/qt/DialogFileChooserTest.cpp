// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogFileChooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>

class DialogFileChooserTest : public QObject {
    Q_OBJECT

private slots:
    void theFilterListsMatchingFilesInEitherCase() {
        QTemporaryDir folder;
        for (const char* name : {"x.bsa", "Y.BSA", "z.Bsa", "notes.txt", "a.ini"}) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QFileDialog dialog;
        DialogFileChooser::configure(dialog, QStringLiteral("Archive file (*.BSA)"));
        dialog.setDirectory(folder.path());
        QCOMPARE(dialog.nameFilters(), QStringList{"Archive file (*.BSA)"});
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog) ||
                QSysInfo::productType() == "windows");

        auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model);
        const QModelIndex root = model->index(folder.path());
        QTRY_COMPARE(model->rowCount(root), 3);
        QStringList names;
        for (int row = 0; row < model->rowCount(root); ++row) {
            names << model->index(row, 0, root).data().toString();
        }
        names.sort();
        QCOMPARE(names, (QStringList{"Y.BSA", "x.bsa", "z.Bsa"}));
    }
};

QTEST_MAIN(DialogFileChooserTest)
#include "DialogFileChooserTest.moc"
