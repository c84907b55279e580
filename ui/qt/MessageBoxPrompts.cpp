// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxPrompts.h"

#include <QMessageBox>

#include "WindowTitle.h"

namespace {

void showOk(QMessageBox::Icon icon, const std::string& text, QWidget* parent) {
    QMessageBox box(icon, kWindowTitle, QString::fromStdString(text), QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

void MessageBoxPrompts::showMessage(const std::string& text) {
    showOk(QMessageBox::NoIcon, text, m_parent);
}

void MessageBoxPrompts::showWarning(const std::string& text) {
    showOk(QMessageBox::Warning, text, m_parent);
}

varnock::Answer MessageBoxPrompts::askYesNo(const std::string& text,
                                            varnock::Answer defaultAnswer) {
    QMessageBox box(QMessageBox::NoIcon, kWindowTitle, QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(defaultAnswer == varnock::Answer::Yes ? QMessageBox::Yes
                                                               : QMessageBox::No);
    // Closing the box with Escape or its title bar button counts as No.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? varnock::Answer::Yes : varnock::Answer::No;
}
