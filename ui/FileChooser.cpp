// Varnock: keeps the archive list of an INI settings file.
#include "FileChooser.h"

#include <QDir>
#include <QFileDialog>

DialogFileChooser::DialogFileChooser() = default;

DialogFileChooser::~DialogFileChooser() = default;

QString DialogFileChooser::chooseFile(QWidget* parent, const QString& filter) {
    if (!m_dialog) {
        m_dialog = std::make_unique<QFileDialog>(parent);
    }
    configure(*m_dialog, filter);
    m_dialog->selectFile(QString());  // the folder is remembered, the last file name is not
    if (m_dialog->exec() != QDialog::Accepted || m_dialog->selectedFiles().isEmpty()) {
        return {};
    }
    return QDir::toNativeSeparators(m_dialog->selectedFiles().constFirst());
}

void DialogFileChooser::configure(QFileDialog& dialog, const QString& filter) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
#ifndef Q_OS_WIN
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    dialog.setNameFilter(filter);
}
