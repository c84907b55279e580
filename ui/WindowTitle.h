// Varnock: keeps the archive list of an INI settings file.
#pragma once

#include <QString>

// The caption of the window and the title of its message boxes.
inline const QString kWindowTitle = QStringLiteral("Varnock");
