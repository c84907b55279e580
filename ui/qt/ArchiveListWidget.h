// SPDX-License-Identifier: GPL-3.0-or-later
// The list of registered archives (lstArchives): each entry with its mark, the keys that act on
// the selection, and the context menu of the session's commands.
#pragma once

#include <QListWidget>
#include <functional>
#include <vector>

#include "MainWindowView.h"

class ArchiveListWidget final : public QListWidget {
    Q_OBJECT

public:
    explicit ArchiveListWidget(QWidget* parent = nullptr);

    // Where the context menu takes its items from.
    void setMenuItems(std::function<std::vector<varnock::ListMenuItem>()> items) {
        m_menuItems = std::move(items);
    }

    void showEntries(const std::vector<varnock::ShownEntry>& entries);
    std::vector<int> selectedPositions() const;
    void makeCurrent(int position);
    void scrollToPosition(int position);

signals:
    // Delete, Alt+Up, Alt+Down or a menu item.
    void commandChosen(varnock::ListCommand command);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void addKey(const QKeySequence& keys, varnock::ListCommand command);
    // The mark's icon before the name, the name dimmed where the entry is not loaded or not
    // found, and the reason for the mouse and for screen readers.
    void mark(QListWidgetItem& item, const varnock::ShownEntry& entry) const;
    // The menu at a point of the viewport.
    void showMenu(QPoint at);

    std::function<std::vector<varnock::ListMenuItem>()> m_menuItems;
};
