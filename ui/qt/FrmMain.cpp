// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmMain.h"

#include <algorithm>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QDropEvent>
#include <QIcon>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QStyle>
#include <QToolTip>

#include "CopyProgressDialog.h"
#include "DialogFileChooser.h"
#include "DimmedText.h"
#include "MessageBoxPrompts.h"
#include "PathLabel.h"
#include "SettingsFileWatcher.h"
#include "WindowLayout.h"
#include "WindowTitle.h"

namespace {

using varnock::Control;

// Qt scales device-independent pixels with the desktop, so the design is placed at 96 dpi.
QRect geometryOf(Control control, QSize client) {
    const varnock::PixelRect place =
        varnock::placeOf(control, varnock::kStandardDpi, client.width(), client.height());
    return {place.left, place.top, place.width, place.height};
}

QColor colourOf(varnock::Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

varnock::Rgb rgbOf(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

const varnock::ControlDesign& designOf(Control control) {
    return varnock::kControls[static_cast<std::size_t>(control)];
}

template <typename Widget>
Widget* place(QWidget* parent, Control control) {
    const varnock::ControlDesign& design = designOf(control);
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(design.name.data(), qsizetype(design.name.size())));
    widget->setGeometry(geometryOf(control, {}));
    widget->setAccessibleName(
        QString::fromLatin1(design.accessibleName.data(), qsizetype(design.accessibleName.size())));
    return widget;
}

QPushButton* button(QWidget* parent, Control control) {
    auto* cmd = place<QPushButton>(parent, control);
    const std::string_view caption = designOf(control).caption;
    cmd->setText(QString::fromLatin1(caption.data(), qsizetype(caption.size())));
    // Enter presses the focused button, as Space does; outside a dialog Qt needs this for it.
    cmd->setAutoDefault(true);
    return cmd;
}

QIcon applicationIcon() {
    // The bitmap serves where the SVG image plug-in is not installed.
    QIcon icon(QStringLiteral(":/varnock/varnock.svg"));
    icon.addFile(QStringLiteral(":/varnock/varnock-48.png"));
    return icon;
}

}  // namespace

FrmMain::FrmMain(QWidget* parent)
    : QWidget(parent),
      m_lblArchive(place<PathLabel>(this, Control::lblArchive)),
      m_lblIni(place<PathLabel>(this, Control::lblINI)),
      m_cmdArchive(button(this, Control::cmdArchive)),
      m_cmdIni(button(this, Control::cmdINI)),
      m_lstArchives(place<QListWidget>(this, Control::lstArchives)),
      m_cmdUnpatch(button(this, Control::cmdUnpatch)),
      m_cmdPatch(button(this, Control::cmdPatch)),
      m_cdlChoose(std::make_unique<DialogFileChooser>(this)),
      m_prompts(std::make_unique<MessageBoxPrompts>(this)),
      m_copyProgress(std::make_unique<CopyProgressDialog>(this)),
      m_watcher(new SettingsFileWatcher(this)),
      m_session(*this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kWindowTitle);
    setWindowIcon(applicationIcon());
    const varnock::PixelRect client = varnock::clientArea(varnock::kStandardDpi);
    setMinimumSize(client.width, client.height);
    resize(client.width, client.height);
    m_lstArchives->setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAcceptDrops(true);
    // The mark of a missing archive fits the line, so that the list shows as many entries.
    const int line = m_lstArchives->fontMetrics().height();
    m_lstArchives->setIconSize(QSize(line, line));

    // Labels take no focus, so the focus chain is the tab order of the focusable controls.
    for (std::size_t i = 1; i < varnock::kTabOrder.size(); ++i) {
        const auto name = [](Control control) {
            return QString::fromLatin1(designOf(control).name.data());
        };
        setTabOrder(findChild<QWidget*>(name(varnock::kTabOrder[i - 1])),
                    findChild<QWidget*>(name(varnock::kTabOrder[i])));
    }

    connect(m_cmdArchive, &QPushButton::clicked, this, [this] { m_session.chooseArchive(); });
    connect(m_cmdIni, &QPushButton::clicked, this, [this] { m_session.chooseSettingsFile(); });
    connect(m_cmdPatch, &QPushButton::clicked, this, [this] { m_session.registerChosenArchive(); });
    connect(m_cmdUnpatch, &QPushButton::clicked, this, [this] { m_session.unregisterSelected(); });
    connect(m_watcher, &SettingsFileWatcher::changed, this, &FrmMain::followFileChange);
    const auto listKey = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, m_lstArchives);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    listKey(QKeySequence::Delete, [this] { m_session.unregisterSelected(); });
    listKey(QKeySequence(Qt::ALT | Qt::Key_Up),
            [this] { m_session.moveSelected(varnock::MoveDirection::Up); });
    listKey(QKeySequence(Qt::ALT | Qt::Key_Down),
            [this] { m_session.moveSelected(varnock::MoveDirection::Down); });
    // X11 sends no context-menu event for Shift+F10, as Windows does.
    listKey(QKeySequence(Qt::SHIFT | Qt::Key_F10),
            [this] { showListMenu(QContextMenuEvent(QContextMenuEvent::Keyboard, {}, {})); });
    // Right click and the Menu key come as a context-menu event: the mouse's to the list's
    // viewport, the keyboard's to the list.
    m_lstArchives->installEventFilter(this);
    m_lstArchives->viewport()->installEventFilter(this);
}

void FrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (const varnock::ControlDesign& design : varnock::kControls) {
        auto* widget = findChild<QWidget*>(
            QString::fromLatin1(design.name.data(), qsizetype(design.name.size())));
        widget->setGeometry(geometryOf(design.control, size()));
    }
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu &&
        (watched == m_lstArchives || watched == m_lstArchives->viewport())) {
        showListMenu(static_cast<const QContextMenuEvent&>(*event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

FrmMain::~FrmMain() = default;

void FrmMain::setFileChooser(std::unique_ptr<varnock::FileChooser> chooser) {
    m_cdlChoose = std::move(chooser);
}

void FrmMain::setPrompts(std::unique_ptr<varnock::UserPrompts> prompts) {
    m_prompts = std::move(prompts);
}

void FrmMain::setCopyProgressView(std::unique_ptr<varnock::CopyProgressView> progress) {
    m_copyProgress = std::move(progress);
}

QString FrmMain::archivePath() const {
    return QString::fromStdString(m_session.archivePath());
}

QString FrmMain::iniPath() const {
    return QString::fromStdString(m_session.iniPath());
}

void FrmMain::showArchivePath(const std::string& path) {
    m_lblArchive->setPath(QString::fromStdString(path));
}

void FrmMain::showIniPath(const std::string& path) {
    m_lblIni->setPath(QString::fromStdString(path));
}

void FrmMain::showList(const std::vector<varnock::ShownEntry>& entries) {
    // A tip shown for an entry would otherwise outlive it, over another entry or none.
    QToolTip::hideText();
    m_lstArchives->clear();
    // Every unmarked entry gets a blank icon, so that names stand at one indent whatever the
    // file holds.
    QPixmap blank(m_lstArchives->iconSize());
    blank.fill(Qt::transparent);
    for (const varnock::ShownEntry& entry : entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.name), m_lstArchives);
        if (entry.icon() != varnock::ShownEntry::Icon::None) {
            mark(*item, entry);
        } else {
            item->setIcon(QIcon(blank));
        }
        item->setSelected(entry.selected);
    }
}

void FrmMain::mark(QListWidgetItem& item, const varnock::ShownEntry& entry) const {
    using Icon = varnock::ShownEntry::Icon;
    const QStyle::StandardPixmap icon = entry.icon() == Icon::NotLoaded ? QStyle::SP_BrowserStop
                                        : entry.icon() == Icon::Missing
                                            ? QStyle::SP_MessageBoxWarning
                                            : QStyle::SP_MessageBoxInformation;
    item.setIcon(style()->standardIcon(icon));
    if (entry.dimmed()) {
        const QPalette colours = m_lstArchives->palette();
        item.setForeground(
            colourOf(varnock::dimmedText(rgbOf(colours.color(QPalette::Disabled, QPalette::Text)),
                                         rgbOf(colours.color(QPalette::Active, QPalette::Text)),
                                         rgbOf(colours.color(QPalette::Active, QPalette::Base)))));
    }
    const QString note = QString::fromStdString(entry.note);
    item.setToolTip(note);
    item.setData(Qt::AccessibleDescriptionRole, note);
}

std::vector<int> FrmMain::selectedEntries() const {
    std::vector<int> selected;
    for (int i = 0; i < m_lstArchives->count(); ++i) {
        if (m_lstArchives->item(i)->isSelected()) {
            selected.push_back(i);
        }
    }
    return selected;
}

void FrmMain::setCurrentEntry(int position) {
    if (QListWidgetItem* item = m_lstArchives->item(position)) {
        m_lstArchives->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    }
}

void FrmMain::showListMenu(const QContextMenuEvent& event) {
    QPoint at = m_lstArchives->viewport()->mapFromGlobal(event.globalPos());
    if (event.reason() == QContextMenuEvent::Mouse) {
        // A right click on an entry outside the selection acts on that entry, as file managers
        // do.
        if (QListWidgetItem* clicked = m_lstArchives->itemAt(at);
            clicked && !clicked->isSelected()) {
            m_lstArchives->setCurrentItem(clicked, QItemSelectionModel::ClearAndSelect);
        }
    } else if (QListWidgetItem* current = m_lstArchives->currentItem()) {
        at = m_lstArchives->visualItemRect(current).center();
    } else {
        at = QPoint(0, 0);
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuList"));
    for (const varnock::ListMenuItem& item : m_session.listMenu()) {
        QAction* action = menu.addAction(QString::fromStdString(item.caption));
        action->setEnabled(item.enabled);
        connect(action, &QAction::triggered, this,
                [this, command = item.command] { m_session.run(command); });
    }
    menu.exec(m_lstArchives->viewport()->mapToGlobal(at));
}

void FrmMain::scrollToEntry(int position) {
    if (QListWidgetItem* item = m_lstArchives->item(position)) {
        m_lstArchives->scrollToItem(item);
    }
}

void FrmMain::watchSettingsFile(const std::string& path) {
    m_watcher->watch(QString::fromStdString(path));
}

bool FrmMain::modalDialogOpen() const {
    return QApplication::activeModalWidget() != nullptr;
}

void FrmMain::followFileChange() {
    if (!m_session.followSettingsFile()) {
        m_watcher->retryLater();
    }
}

std::vector<std::string> FrmMain::draggedPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        paths.push_back(url.isLocalFile()
                            ? QDir::toNativeSeparators(url.toLocalFile()).toStdString()
                            : std::string());
    }
    return paths;
}

void FrmMain::dragEnterEvent(QDragEnterEvent* event) {
    // Refused, the drag shows the no-drop cursor over the whole window.
    if (m_session.acceptsDrop(draggedPaths(event->mimeData()))) {
        event->acceptProposedAction();
    }
}

void FrmMain::dragMoveEvent(QDragMoveEvent* event) {
    if (m_session.acceptsDrop(draggedPaths(event->mimeData()))) {
        event->acceptProposedAction();
    }
}

void FrmMain::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = draggedPaths(event->mimeData());
    if (!m_session.acceptsDrop(paths)) {
        return;
    }
    event->acceptProposedAction();
    // After the drop has ended: a message shown from inside it would keep the drag's source
    // waiting for its answer.
    QMetaObject::invokeMethod(
        this, [this, paths] { m_session.dropFiles(paths); }, Qt::QueuedConnection);
}
