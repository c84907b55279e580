// SPDX-License-Identifier: GPL-3.0-or-later
#include "CopyProgressDialog.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProgressDialog>

#include "WindowTitle.h"

namespace {

constexpr int kSteps = 1000;

}  // namespace

CopyProgressDialog::CopyProgressDialog(QWidget* parent, int showAfterMs)
    : m_parent(parent), m_showAfterMs(showAfterMs) {}

CopyProgressDialog::~CopyProgressDialog() = default;

bool CopyProgressDialog::copying(const std::string& name, std::uint64_t copied,
                                 std::uint64_t total) {
    if (!m_elapsed.isValid()) {
        m_elapsed.start();
    }
    if (!m_dialog && m_elapsed.elapsed() >= m_showAfterMs) {
        m_dialog = std::make_unique<QProgressDialog>(m_parent);
        m_dialog->setWindowTitle(kWindowTitle);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setRange(0, kSteps);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setAccessibleName(QStringLiteral("Copy progress"));
    }
    if (m_dialog) {
        const QLocale locale;
        m_dialog->setLabelText(QStringLiteral("Copying %1 to the \"Data Files\" folder\n%2 of %3")
                                   .arg(QString::fromStdString(name),
                                        locale.formattedDataSize(static_cast<qint64>(copied)),
                                        locale.formattedDataSize(static_cast<qint64>(total))));
        // setValue also lets the window repaint and the Cancel button be pressed.
        m_dialog->setValue(total == 0 ? kSteps : static_cast<int>(copied * kSteps / total));
        return !m_dialog->wasCanceled();
    }
    // Keep the window painted; user input waits, so no second action can start.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

void CopyProgressDialog::copyEnded() {
    m_dialog.reset();
    m_elapsed.invalidate();
}
