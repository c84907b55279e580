// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFileWatcher.h"

#include <QFileInfo>

namespace {

// Long enough to let a burst of writes end, short enough that the list follows within a second.
constexpr int kQuietMs = 250;

}  // namespace

SettingsFileWatcher::SettingsFileWatcher(QObject* parent) : QObject(parent) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &SettingsFileWatcher::changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &SettingsFileWatcher::noticed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &SettingsFileWatcher::noticed);
}

void SettingsFileWatcher::watch(const QString& path) {
    if (!m_watcher.files().isEmpty()) {
        m_watcher.removePaths(m_watcher.files());
    }
    if (!m_watcher.directories().isEmpty()) {
        m_watcher.removePaths(m_watcher.directories());
    }
    m_path = path;
    if (path.isEmpty()) {
        return;
    }
    // The folder too: a file replaced by renaming a new one over it is not the file watched.
    m_watcher.addPath(QFileInfo(path).absolutePath());
    addWhatExists();
    m_quiet.stop();
}

void SettingsFileWatcher::addWhatExists() {
    // "Data Files" beside it: the list marks the archives that are not there.
    const QString dataFiles = QFileInfo(m_path).absolutePath() + QStringLiteral("/Data Files");
    if (!m_watcher.directories().contains(dataFiles) && QFileInfo(dataFiles).isDir()) {
        m_watcher.addPath(dataFiles);
    }
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path)) {
        m_watcher.addPath(m_path);
    }
}

void SettingsFileWatcher::retryLater() {
    m_quiet.start();
}

void SettingsFileWatcher::noticed() {
    if (!m_path.isEmpty()) {
        addWhatExists();
    }
    m_quiet.start();
}
