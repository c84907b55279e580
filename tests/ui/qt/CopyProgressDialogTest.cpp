// SPDX-License-Identifier: GPL-3.0-or-later
#include "CopyProgressDialog.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

class CopyProgressDialogTest : public QObject {
    Q_OBJECT

private slots:
    void aQuickCopyShowsNoDialog() {
        QWidget window;
        CopyProgressDialog progress(&window, 60000);
        QVERIFY(progress.copying("x.bsa", 0, 100));
        QVERIFY(progress.copying("x.bsa", 100, 100));
        QVERIFY(!window.findChild<QProgressDialog*>());
        progress.copyEnded();
    }

    void aLongCopyShowsNameAndBytesAndCanBeCancelled() {
        QWidget window;
        window.show();
        CopyProgressDialog progress(&window, 0);
        QVERIFY(progress.copying("Big.bsa", 0, 512 << 20));
        QVERIFY(progress.copying("Big.bsa", 256 << 20, 512 << 20));
        auto* dialog = window.findChild<QProgressDialog*>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->isModal());
        QVERIFY(dialog->labelText().contains("Big.bsa"));
        QVERIFY(dialog->labelText().contains(QLocale().formattedDataSize(256 << 20)));
        QCOMPARE(dialog->value(), 500);

        auto* cancel = dialog->findChild<QPushButton*>();
        QVERIFY(cancel);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!progress.copying("Big.bsa", 300 << 20, 512 << 20));
        progress.copyEnded();
        QVERIFY(!window.findChild<QProgressDialog*>());
    }
};

QTEST_MAIN(CopyProgressDialogTest)
#include "CopyProgressDialogTest.moc"
