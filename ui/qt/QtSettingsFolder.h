// SPDX-License-Identifier: GPL-3.0-or-later
// Where Qt keeps its own settings while Varnock runs: the file dialog's history and last
// folder. Varnock keeps no files of its own, so they go to a folder that lives as long as
// the program instead of the user's configuration folder.
#pragma once

#include <QTemporaryDir>

class QtSettingsFolder {
public:
    // Takes effect for every QSettings made afterwards.
    QtSettingsFolder();

private:
    QTemporaryDir m_folder;
};
