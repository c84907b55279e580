// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFileWatcher.h"

#include <QFileInfo>

SettingsFileWatcher::SettingsFileWatcher(QObject* parent) : QObject(parent) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(varnock::kSettleDelay);
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
    m_paths.reset();
    if (path.isEmpty()) {
        return;
    }
    m_paths = varnock::watchedPathsOf(path.toStdString());
    m_watcher.addPath(QString::fromStdString(m_paths->folder));
    addWhatExists();
    m_quiet.stop();
}

void SettingsFileWatcher::addWhatExists() {
    const QString dataFiles = QString::fromStdString(m_paths->dataFiles);
    if (!m_watcher.directories().contains(dataFiles) && QFileInfo(dataFiles).isDir()) {
        m_watcher.addPath(dataFiles);
    }
    const QString file = QString::fromStdString(m_paths->settingsFile);
    if (!m_watcher.files().contains(file) && QFileInfo::exists(file)) {
        m_watcher.addPath(file);
    }
}

void SettingsFileWatcher::retryLater() {
    m_quiet.start();
}

void SettingsFileWatcher::noticed() {
    if (m_paths) {
        addWhatExists();
    }
    m_quiet.start();
}
