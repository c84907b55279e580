// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

// Waits for the real modal box to come up, lets the test look at it, then presses a button.
// A box that has not come up in time is not waited for: closed() stays false.
class ModalCloser {
public:
    using Inspect = std::function<QAbstractButton*(QMessageBox&)>;

    explicit ModalCloser(Inspect inspect) : m_inspect(std::move(inspect)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(20);
        m_waited.start();
    }
    bool closed() const { return m_closed; }

private:
    static constexpr qint64 kDeadlineMs = 10000;

    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (m_waited.elapsed() > kDeadlineMs) {
                m_timer.stop();
            }
            return;
        }
        m_timer.stop();
        if (QAbstractButton* button = m_inspect(*box)) {
            button->click();
            m_closed = true;
        } else {
            box->done(-1);
        }
    }

    Inspect m_inspect;
    QTimer m_timer;
    QElapsedTimer m_waited;
    bool m_closed = false;
};

class MessageBoxPromptsTest : public QObject {
    Q_OBJECT

private slots:
    // Every box and window of a test is gone when it ends.
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void showMessageIsAPlainBoxWithOneOkButton() {
        QWidget window;
        window.show();
        MessageBoxPrompts prompts(&window);
        QString text;
        QString title;
        QMessageBox::Icon icon = QMessageBox::Warning;
        int buttonCount = 0;
        ModalCloser closer([&](QMessageBox& box) {
            text = box.text();
            title = box.windowTitle();
            icon = box.icon();
            buttonCount = static_cast<int>(box.buttons().size());
            return box.button(QMessageBox::Ok);
        });
        prompts.showMessage("a.bsa registered successfully.");
        QVERIFY(closer.closed());
        QCOMPARE(text, QStringLiteral("a.bsa registered successfully."));
        QCOMPARE(title, QStringLiteral("Varnock"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttonCount, 1);
    }

    void showWarningCarriesTheWarningIcon() {
        QWidget window;
        window.show();
        MessageBoxPrompts prompts(&window);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ModalCloser closer([&](QMessageBox& box) {
            icon = box.icon();
            return box.buttons().size() == 1 ? box.button(QMessageBox::Ok) : nullptr;
        });
        prompts.showWarning("x.bsa was not registered.");
        QVERIFY2(closer.closed(), "the warning did not have exactly one OK button");
        QCOMPARE(icon, QMessageBox::Warning);
    }

    void askYesNoDefaultsToTheAnswerAskedFor() {
        QWidget window;
        window.show();
        MessageBoxPrompts prompts(&window);
        bool noIsDefault = false;
        ModalCloser pressDefault([&](QMessageBox& box) {
            noIsDefault =
                static_cast<QAbstractButton*>(box.defaultButton()) == box.button(QMessageBox::No);
            return box.defaultButton();
        });
        QCOMPARE(prompts.askYesNo("Replace it?", varnock::Answer::No), varnock::Answer::No);
        QVERIFY(pressDefault.closed());
        QVERIFY2(noIsDefault, "Enter would press Yes and replace the file");
    }

    void askYesNoOffersYesAsDefaultAndReportsTheAnswer() {
        QWidget window;
        window.show();
        MessageBoxPrompts prompts(&window);
        bool yesIsDefault = false;
        ModalCloser sayNo([&](QMessageBox& box) {
            yesIsDefault =
                static_cast<QAbstractButton*>(box.defaultButton()) == box.button(QMessageBox::Yes);
            return box.buttons().size() == 2
                       ? static_cast<QAbstractButton*>(box.button(QMessageBox::No))
                       : nullptr;
        });
        QCOMPARE(prompts.askYesNo("Copy it?", varnock::Answer::Yes), varnock::Answer::No);
        QVERIFY(sayNo.closed());
        QVERIFY(yesIsDefault);

        ModalCloser sayYes([](QMessageBox& box) { return box.button(QMessageBox::Yes); });
        QCOMPARE(prompts.askYesNo("Copy it?", varnock::Answer::Yes), varnock::Answer::Yes);
    }
};

QTEST_MAIN(MessageBoxPromptsTest)
#include "MessageBoxPromptsTest.moc"
