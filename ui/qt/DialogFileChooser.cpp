// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogFileChooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QPointer>
#include <QScopeGuard>
#include <QTreeView>

#include "FileKind.h"

namespace {

// Opens the dialog large enough, and its columns wide enough, that name, size, type and date
// are read whole rather than cut to "32....KiB".
void makeReadable(QFileDialog& dialog) {
    dialog.resize(dialog.sizeHint().expandedTo(DialogFileChooser::kMinimumSize));
    auto* details = dialog.findChild<QTreeView*>();
    if (!details) {
        return;
    }
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
}

}  // namespace

std::string DialogFileChooser::chooseFile(const varnock::FileKind& kind,
                                          const std::string& startFolder) {
    // Keyboard focus goes back to the control that opened the dialog.
    const QPointer<QWidget> focused = QApplication::focusWidget();
    const auto refocus = qScopeGuard([this, &focused] {
        m_parent->activateWindow();
        if (focused) {
            focused->setFocus(Qt::OtherFocusReason);
        }
    });
    QFileDialog dialog(m_parent);
    configure(dialog, QString::fromStdString(kind.filterName()));
    if (!startFolder.empty()) {
        dialog.setDirectory(QString::fromStdString(startFolder));
    }
    makeReadable(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

void DialogFileChooser::configure(QFileDialog& dialog, const QString& filter) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
#ifndef Q_OS_WIN
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    dialog.setNameFilter(filter);
}
