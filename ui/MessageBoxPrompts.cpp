// Varnock: keeps the archive list of an INI settings file.
#include "MessageBoxPrompts.h"

#include <QMessageBox>

#include "WindowTitle.h"

void MessageBoxPrompts::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kWindowTitle, QString::fromStdString(text),
                    QMessageBox::Ok, m_parent);
    box.exec();
}

varnock::Answer MessageBoxPrompts::askYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kWindowTitle, QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    // Closing the box with Escape or its title bar button counts as No.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? varnock::Answer::Yes : varnock::Answer::No;
}
