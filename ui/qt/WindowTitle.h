// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The caption of the window and the title of its message boxes.
inline const QString kWindowTitle = QStringLiteral("Varnock");
