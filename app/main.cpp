// Varnock: keeps the archive list of an INI settings file.
#include <QApplication>

#include "FrmMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnock"));
    QApplication::setApplicationDisplayName(QStringLiteral("Varnock"));

    FrmMain window;
    window.show();
    return QApplication::exec();
}
