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
        CopyProgressDialog progress(&window);
        QVERIFY(progress.copying({"Copying x.bsa", 0, false}));
        QVERIFY(progress.copying({"Copying x.bsa", varnock::kCopySteps, false}));
        QVERIFY(!window.findChild<QProgressDialog*>());
        progress.copyEnded();
    }

    void aLongCopyShowsNameAndBytesAndCanBeCancelled() {
        QWidget window;
        window.show();
        CopyProgressDialog progress(&window);
        const auto halfway =
            varnock::copyReport("Big.bsa", 256 << 20, 512 << 20, varnock::kCopyShownAfter);
        QVERIFY(progress.copying(halfway));
        auto* dialog = window.findChild<QProgressDialog*>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->isModal());
        QCOMPARE(dialog->labelText().toStdString(), halfway.label);
        QCOMPARE(dialog->value(), 500);

        auto* cancel = dialog->findChild<QPushButton*>();
        QVERIFY(cancel);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!progress.copying(halfway));
        progress.copyEnded();
        QVERIFY(!window.findChild<QProgressDialog*>());
    }
};

QTEST_MAIN(CopyProgressDialogTest)
#include "CopyProgressDialogTest.moc"
