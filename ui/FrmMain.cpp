// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmMain.h"

#include <QApplication>
#include <QIcon>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>

#include <algorithm>
#include <exception>

#include "CopyProgressDialog.h"
#include "MessageBoxPrompts.h"
#include "PathHelpers.h"
#include "PathLabel.h"
#include "Registration.h"
#include "SettingsFileWatcher.h"
#include "Unregistration.h"
#include "WindowTitle.h"

// What each selection button chooses: the dialog's filter and the check of the chosen name
// both come from the one extension.
struct FileKind {
    const char* description;
    const char* extension;

    QString filter() const {
        return QStringLiteral("%1 (*.%2)")
            .arg(QString::fromLatin1(description), QString::fromLatin1(extension).toUpper());
    }
    // Only the last three characters count, in any case: "x.Bsa" and "xbsa" both pass.
    bool matches(const QString& path) const {
        return path.right(3).toLower() == QLatin1String(extension);
    }
};

namespace {

constexpr FileKind kArchiveFile{"Archive file", "bsa"};
constexpr FileKind kSettingsFile{"Initialization settings file", "ini"};

// The layout in device-independent pixels; Qt scales it with the desktop.
constexpr QSize kClientSize(312, 281);
constexpr QRect kCmdArchive(16, 8, 81, 25);
constexpr QRect kLblArchive(16, 40, 280, 17);
constexpr QRect kCmdIni(16, 64, 81, 25);
constexpr QRect kLblIni(16, 96, 280, 17);
constexpr QRect kLstArchives(16, 120, 280, 82);
constexpr QRect kCmdUnpatch(68, 216, 177, 25);
constexpr QRect kCmdPatch(68, 248, 177, 25);

template <typename Widget>
Widget* place(QWidget* parent, const char* name, const QRect& geometry, const QString& accessible) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    widget->setAccessibleName(accessible);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QRect& geometry,
                    const QString& caption) {
    auto* cmd = place<QPushButton>(parent, name, geometry, caption);
    cmd->setText(caption);
    // Enter presses the focused button, as Space does; outside a dialog Qt needs this for it.
    cmd->setAutoDefault(true);
    return cmd;
}

varnock::Result<std::vector<varnock::ArchiveSlot>> registeredIn(const QString& iniPath) {
    return varnock::ArchiveSlotTable(varnock::pathFromUtf8(iniPath.toStdString()))
        .listRegisteredChecked();
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
      m_lblArchive(place<PathLabel>(this, "lblArchive", kLblArchive, tr("Selected archive"))),
      m_lblIni(place<PathLabel>(this, "lblINI", kLblIni, tr("Selected settings file"))),
      m_cmdArchive(button(this, "cmdArchive", kCmdArchive, QStringLiteral("Select BSA"))),
      m_cmdIni(button(this, "cmdINI", kCmdIni, QStringLiteral("Select INI"))),
      m_lstArchives(
          place<QListWidget>(this, "lstArchives", kLstArchives, tr("Registered archives"))),
      m_cmdUnpatch(button(this, "cmdUnpatch", kCmdUnpatch, QStringLiteral("Unregister Archive"))),
      m_cmdPatch(button(this, "cmdPatch", kCmdPatch, QStringLiteral("Register Archive"))),
      m_cdlChoose(std::make_unique<DialogFileChooser>()),
      m_prompts(std::make_unique<MessageBoxPrompts>(this)),
      m_copyProgress(std::make_unique<CopyProgressDialog>(this)),
      m_watcher(new SettingsFileWatcher(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kWindowTitle);
    setWindowIcon(applicationIcon());
    setFixedSize(kClientSize);
    m_lstArchives->setSelectionMode(QAbstractItemView::ExtendedSelection);

    // Labels take no focus, so the focus chain is the tab order of the focusable controls.
    setTabOrder(m_cmdArchive, m_cmdIni);
    setTabOrder(m_cmdIni, m_cmdPatch);
    setTabOrder(m_cmdPatch, m_lstArchives);
    setTabOrder(m_lstArchives, m_cmdUnpatch);

    connectAction(m_cmdArchive, &FrmMain::selectArchive);
    connectAction(m_cmdIni, &FrmMain::selectIni);
    connectAction(m_cmdPatch, &FrmMain::registerChosenArchive);
    connectAction(m_cmdUnpatch, &FrmMain::unregisterSelectedArchives);
    connect(m_watcher, &SettingsFileWatcher::changed, this, &FrmMain::followFileChange);
    auto* deleteKey = new QShortcut(QKeySequence::Delete, m_lstArchives);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this,
            [this] { runAction(&FrmMain::unregisterSelectedArchives); });
}

FrmMain::~FrmMain() = default;

void FrmMain::setFileChooser(std::unique_ptr<FileChooser> chooser) {
    m_cdlChoose = std::move(chooser);
}

void FrmMain::setPrompts(std::unique_ptr<varnock::UserPrompts> prompts) {
    m_prompts = std::move(prompts);
}

void FrmMain::setCopyProgressView(std::unique_ptr<varnock::CopyProgressView> progress) {
    m_copyProgress = std::move(progress);
}

QString FrmMain::archivePath() const {
    return m_lblArchive->path();
}

QString FrmMain::iniPath() const {
    return m_lblIni->path();
}

void FrmMain::selectArchive() {
    const QString chosen = chooseFile(kArchiveFile, m_cmdArchive);
    if (!chosen.isEmpty()) {
        m_lblArchive->setPath(chosen);
    }
}

void FrmMain::selectIni() {
    const QString chosen = chooseFile(kSettingsFile, m_cmdIni);
    if (chosen.isEmpty()) {
        return;
    }
    const auto registered = registeredIn(chosen);
    if (!registered) {
        // The former choice stays: an unreadable file would list as if nothing were registered.
        m_prompts->showWarning(registered.reason());
        return;
    }
    m_lblIni->setPath(chosen);
    m_watcher->watch(chosen);
    showSlots(registered.value(), false);
}

QString FrmMain::chooseFile(const FileKind& kind, QPushButton* opener) {
    const QString chosen = m_cdlChoose->chooseFile(this, kind.filter());
    activateWindow();
    opener->setFocus(Qt::OtherFocusReason);
    if (chosen.isEmpty() || !kind.matches(chosen)) {
        return {};
    }
    return chosen;
}

void FrmMain::registerChosenArchive() {
    const auto result = varnock::registerArchive(
        archivePath().toStdString(), iniPath().toStdString(), *m_prompts, *m_copyProgress);
    if (result.outcome == varnock::RegistrationOutcome::NotRegistered) {
        return;
    }
    refreshList();
    if (result.outcome == varnock::RegistrationOutcome::Registered &&
        result.slot < m_lstArchives->count()) {
        m_lstArchives->scrollToItem(m_lstArchives->item(result.slot));
    }
}

void FrmMain::unregisterSelectedArchives() {
    std::vector<varnock::ListEntry> entries;
    for (int i = 0; i < m_lstArchives->count(); ++i) {
        const QListWidgetItem* item = m_lstArchives->item(i);
        entries.push_back({item->text().toStdString(), item->isSelected()});
    }
    if (varnock::unregisterSelected(iniPath().toStdString(), entries, *m_prompts)) {
        refreshList();
    }
}

void FrmMain::connectAction(QPushButton* button, Action action) {
    connect(button, &QPushButton::clicked, this, [this, action] { runAction(action); });
}

void FrmMain::runAction(Action action) {
    m_acting = true;
    const auto acted = qScopeGuard([this] { m_acting = false; });
    try {
        (this->*action)();
    } catch (const std::exception& error) {
        recoverFrom(error.what());
    } catch (...) {
        recoverFrom("an unexpected error");
    }
}

void FrmMain::recoverFrom(const char* what) noexcept {
    // Whatever fails here (memory may be short) must not end the program: the list is
    // emptied rather than left showing what could not be read, and the user is told if
    // possible.
    try {
        m_prompts->showWarning(std::string("Varnock could not finish: ") + what);
    } catch (...) {
    }
    try {
        refreshList();
    } catch (...) {
        m_lstArchives->clear();
    }
}

void FrmMain::refreshList() {
    const auto registered = registeredIn(iniPath());
    if (!registered) {
        m_lstArchives->clear();
        m_prompts->showWarning(registered.reason());
        return;
    }
    showSlots(registered.value(), false);
}

void FrmMain::followFileChange() {
    if (m_acting || QApplication::activeModalWidget()) {
        m_watcher->retryLater();
        return;
    }
    std::optional<varnock::Result<std::vector<varnock::ArchiveSlot>>> registered;
    try {
        registered = registeredIn(iniPath());
    } catch (...) {
        return;  // told by the next action, like a file that cannot be read
    }
    // A file that cannot be read now is told by the next action that needs it; the list is
    // not emptied under the user's eyes for what may be a passing state.
    if (*registered) {
        showSlots(registered->value(), true);
    }
}

void FrmMain::showSlots(const std::vector<varnock::ArchiveSlot>& registered, bool keepSelection) {
    QStringList shown;
    for (const auto& slot : registered) {
        shown << QString::fromStdString(slot.value);
    }
    QStringList before;
    for (int i = 0; i < m_lstArchives->count(); ++i) {
        before << m_lstArchives->item(i)->text();
    }
    if (keepSelection && shown == before) {
        return;  // nothing to show: keep the scroll position and the current entry as well
    }
    std::vector<bool> selected(static_cast<std::size_t>(shown.size()));
    for (int i = 0; keepSelection && i < std::min(m_lstArchives->count(), int(shown.size())); ++i) {
        selected[static_cast<std::size_t>(i)] =
            m_lstArchives->item(i)->isSelected() && before[i] == shown[i];
    }
    m_lstArchives->clear();
    m_lstArchives->addItems(shown);
    for (int i = 0; i < m_lstArchives->count(); ++i) {
        m_lstArchives->item(i)->setSelected(selected[static_cast<std::size_t>(i)]);
    }
}
