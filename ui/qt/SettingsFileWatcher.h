// SPDX-License-Identifier: GPL-3.0-or-later
// Tells when the chosen settings file, or the "Data Files" folder beside it, may have changed on
// disk, so that the list can follow them.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <optional>

#include "WatchedPaths.h"

class SettingsFileWatcher final : public QObject {
    Q_OBJECT

public:
    explicit SettingsFileWatcher(QObject* parent = nullptr);

    // Watches what watchedPathsOf names for path from now on (nothing for an empty path), and
    // tells a burst of changes kSettleDelay after it ends.
    void watch(const QString& path);
    // Tells again in a moment, for a change that could not be acted on now.
    void retryLater();

signals:
    // A burst of changes is told once, shortly after it ends.
    void changed();

private:
    void noticed();
    // Watches the file and "Data Files" where they exist now: either may come later.
    void addWhatExists();

    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    std::optional<varnock::WatchedPaths> m_paths;
};
