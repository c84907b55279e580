// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtSettingsFolder.h"

#include <QSettings>

QtSettingsFolder::QtSettingsFolder() {
    // Where no such folder can be made, nothing at all is written: the settings stay in memory.
    const QString path = m_folder.isValid() ? m_folder.path() : QStringLiteral("/dev/null/");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
}
