// SPDX-License-Identifier: GPL-3.0-or-later
#include "CopyProgressDialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include "WindowTitle.h"

CopyProgressDialog::CopyProgressDialog(QWidget* parent) : m_parent(parent) {}

CopyProgressDialog::~CopyProgressDialog() = default;

bool CopyProgressDialog::copying(const varnock::CopyReport& report) {
    if (!report.shown) {
        // Keep the window painted; user input waits, so no second action can start.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }
    if (!m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>(m_parent);
        m_dialog->setWindowTitle(kWindowTitle);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setRange(0, varnock::kCopySteps);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setAccessibleName(QStringLiteral("Copy progress"));
    }
    m_dialog->setLabelText(QString::fromStdString(report.label));
    // setValue also lets the window repaint and the Cancel button be pressed.
    m_dialog->setValue(report.step);
    return !m_dialog->wasCanceled();
}

void CopyProgressDialog::copyEnded() {
    m_dialog.reset();
}
