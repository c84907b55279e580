// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveListWidget.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>
#include <QStyle>
#include <QToolTip>

#include "DimmedText.h"

namespace {

varnock::Rgb rgbOf(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

}  // namespace

ArchiveListWidget::ArchiveListWidget(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The mark fits the line, so that the list shows as many entries.
    const int line = fontMetrics().height();
    setIconSize(QSize(line, line));
    addKey(QKeySequence::Delete, varnock::ListCommand::Unregister);
    addKey(QKeySequence(Qt::ALT | Qt::Key_Up), varnock::ListCommand::MoveUp);
    addKey(QKeySequence(Qt::ALT | Qt::Key_Down), varnock::ListCommand::MoveDown);
    // X11 sends no context-menu event for Shift+F10, as Windows does.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    menuKey->setContext(Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, {}, {});
        contextMenuEvent(&event);
    });
}

void ArchiveListWidget::addKey(const QKeySequence& keys, varnock::ListCommand command) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this,
            [this, command] { emit commandChosen(command); });
}

void ArchiveListWidget::showEntries(const std::vector<varnock::ShownEntry>& entries) {
    // A tip shown for an entry would otherwise outlive it, over another entry or none.
    QToolTip::hideText();
    clear();
    // Every unmarked entry gets a blank icon, so that names stand at one indent whatever the
    // file holds.
    QPixmap blank(iconSize());
    blank.fill(Qt::transparent);
    for (const varnock::ShownEntry& entry : entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.name), this);
        if (entry.icon() != varnock::ShownEntry::Icon::None) {
            mark(*item, entry);
        } else {
            item->setIcon(QIcon(blank));
        }
        item->setSelected(entry.selected);
    }
}

void ArchiveListWidget::mark(QListWidgetItem& item, const varnock::ShownEntry& entry) const {
    using Icon = varnock::ShownEntry::Icon;
    const QStyle::StandardPixmap icon = entry.icon() == Icon::NotLoaded ? QStyle::SP_BrowserStop
                                        : entry.icon() == Icon::Missing
                                            ? QStyle::SP_MessageBoxWarning
                                            : QStyle::SP_MessageBoxInformation;
    item.setIcon(style()->standardIcon(icon));
    if (entry.dimmed()) {
        const varnock::Rgb dimmed =
            varnock::dimmedText(rgbOf(palette().color(QPalette::Disabled, QPalette::Text)),
                                rgbOf(palette().color(QPalette::Active, QPalette::Text)),
                                rgbOf(palette().color(QPalette::Active, QPalette::Base)));
        item.setForeground(QColor(dimmed.red, dimmed.green, dimmed.blue));
    }
    const QString note = QString::fromStdString(entry.note);
    item.setToolTip(note);
    item.setData(Qt::AccessibleDescriptionRole, note);
}

std::vector<int> ArchiveListWidget::selectedPositions() const {
    std::vector<int> selected;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->isSelected()) {
            selected.push_back(i);
        }
    }
    return selected;
}

void ArchiveListWidget::makeCurrent(int position) {
    if (QListWidgetItem* entry = item(position)) {
        setCurrentItem(entry, QItemSelectionModel::NoUpdate);
    }
}

void ArchiveListWidget::scrollToPosition(int position) {
    if (QListWidgetItem* entry = item(position)) {
        scrollToItem(entry);
    }
}

void ArchiveListWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QPoint at = viewport()->mapFromGlobal(event->globalPos());
        // A right click on an entry outside the selection acts on that entry, as file managers
        // do.
        if (QListWidgetItem* clicked = itemAt(at); clicked && !clicked->isSelected()) {
            setCurrentItem(clicked, QItemSelectionModel::ClearAndSelect);
        }
        showMenu(at);
    } else {
        showMenu(currentItem() ? visualItemRect(currentItem()).center() : QPoint(0, 0));
    }
    event->accept();
}

void ArchiveListWidget::showMenu(QPoint at) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuList"));
    for (const varnock::ListMenuItem& entry :
         m_menuItems ? m_menuItems() : decltype(m_menuItems())()) {
        QAction* action = menu.addAction(QString::fromStdString(entry.caption));
        action->setEnabled(entry.enabled);
        connect(action, &QAction::triggered, this,
                [this, command = entry.command] { emit commandChosen(command); });
    }
    menu.exec(viewport()->mapToGlobal(at));
}
