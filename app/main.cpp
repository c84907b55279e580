// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include "FrmMain.h"
#include "QtSettingsFolder.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnock"));
    QApplication::setApplicationDisplayName(QStringLiteral("Varnock"));
    QApplication::setApplicationVersion(QStringLiteral(VARNOCK_VERSION));
    // Lets Wayland compositors match the window to its desktop file and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(VARNOCK_DESKTOP_ID));

    const QtSettingsFolder qtSettings;
    FrmMain window;
    window.show();
    return QApplication::exec();
}
