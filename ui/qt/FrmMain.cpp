// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmMain.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QIcon>
#include <QMimeData>
#include <QPushButton>
#include <QResizeEvent>

#include "ArchiveListWidget.h"
#include "CopyProgressDialog.h"
#include "DialogFileChooser.h"
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
      m_lstArchives(place<ArchiveListWidget>(this, Control::lstArchives)),
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
    setAcceptDrops(true);

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
    m_lstArchives->setMenuItems([this] { return m_session.listMenu(); });
    connect(m_lstArchives, &ArchiveListWidget::commandChosen, this,
            [this](varnock::ListCommand command) { m_session.run(command); });
}

void FrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (const varnock::ControlDesign& design : varnock::kControls) {
        auto* widget = findChild<QWidget*>(
            QString::fromLatin1(design.name.data(), qsizetype(design.name.size())));
        widget->setGeometry(geometryOf(design.control, size()));
    }
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
    m_lstArchives->showEntries(entries);
}

std::vector<int> FrmMain::selectedEntries() const {
    return m_lstArchives->selectedPositions();
}

void FrmMain::scrollToEntry(int position) {
    m_lstArchives->scrollToPosition(position);
}

void FrmMain::setCurrentEntry(int position) {
    m_lstArchives->makeCurrent(position);
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
