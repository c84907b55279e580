// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

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

QString DialogFileChooser::chooseFile(QWidget* parent, const QString& filter) {
    QFileDialog dialog(parent);
    configure(dialog, filter);
    const QString folder = startFolder(m_lastFolder);
    if (!folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    makeReadable(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    m_lastFolder = QFileInfo(chosen).absolutePath();
    return QDir::toNativeSeparators(chosen);
}

void DialogFileChooser::configure(QFileDialog& dialog, const QString& filter) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
#ifndef Q_OS_WIN
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    dialog.setNameFilter(filter);
}

QString DialogFileChooser::startFolder(const QString& lastFolder) {
    if (lastFolder.isEmpty()) {
        return {};
    }
    QString folder = QDir::cleanPath(lastFolder);
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder) {
            return {};
        }
        folder = parent;
    }
    return folder;
}
