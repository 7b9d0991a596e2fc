#include "CMainFrame.h"

#include "KeyLockIndicators.h"
#include "TextConversion.h"
#include "ToolbarIcons.h"
#include "WindowSystem.h"

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QWindow>

#include <algorithm>

namespace {

const char* const kIdleStatusText = "Ready";
const char* const kIndicatorTexts[] = {"CAP", "NUM", "SCRL"};

bool IsCheckable(int commandId)
{
    using namespace CommandId;
    return commandId == ViewToolbar || commandId == ViewStatusBar ||
           (commandId >= ComPort1 && commandId < ComPort1 + 4) || commandId == ComPortOther ||
           commandId == SettingsBackupBeforeDownload;
}

bool IsLockKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
}

// The first local configuration file among the dragged ones; empty when none.
QString ConfigurationFileOf(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && path.endsWith(QStringLiteral(".hxc"), Qt::CaseInsensitive)) {
            return path;
        }
    }
    return {};
}

QString RecentFileText(int index, const std::string& path)
{
    QString shown = PathToQString(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setWindowIcon(ApplicationIcon());
    resize(800, 600);
    CreateMenuBar();
    CreateToolBar();
    CreateStatusBar();
    RegisterFrameCommands();
    SetDocumentTitle("Untitled");
    setAcceptDrops(true);
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() { qApp->removeEventFilter(this); }

QAction* CMainFrame::MakeAction(int commandId, const std::string& text)
{
    auto found = actions_.find(commandId);
    if (found != actions_.end()) {
        return found->second;
    }
    auto* action = new QAction(ToQString(text), this);
    action->setData(commandId);
    const std::string prompt = CommandPrompt(commandId);
    action->setStatusTip(ToQString(PromptStatusText(prompt)));
    action->setToolTip(ToQString(PromptToolTip(prompt)));
    action->setCheckable(IsCheckable(commandId));
    action->setEnabled(false);
    actions_[commandId] = action;
    return action;
}

void CMainFrame::FillMenu(QMenu* menu, const std::vector<MenuEntry>& entries)
{
    for (const MenuEntry& entry : entries) {
        switch (entry.Type) {
        case MenuEntry::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuEntry::Kind::Submenu:
            FillMenu(menu->addMenu(ToQString(entry.Text)), entry.Items);
            break;
        case MenuEntry::Kind::Command:
            menu->addAction(MakeAction(entry.Id, entry.Text));
            if (entry.Id == CommandId::FileRecent1) {
                for (int i = 0; i < kRecentFileCount; ++i) {
                    auto* recent = new QAction(this);
                    recent->setData(CommandId::FileRecent1 + i);
                    recent->setStatusTip(ToQString(CommandPrompt(CommandId::FileRecent1 + i)));
                    recent->setVisible(false);
                    connect(recent, &QAction::triggered, this, [this, i] {
                        if (recentFileHandler_) {
                            recentFileHandler_(i);
                        }
                    });
                    menu->addAction(recent);
                    recentFileActions_.push_back(recent);
                }
            }
            break;
        }
    }
}

void CMainFrame::CreateMenuBar()
{
    for (const MenuEntry& entry : MenuBarLayout()) {
        FillMenu(menuBar()->addMenu(ToQString(entry.Text)), entry.Items);
    }
}

void CMainFrame::CreateToolBar()
{
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("MainToolBar"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setMovable(true);
    for (int commandId : ToolbarLayout()) {
        if (commandId == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = MakeAction(commandId, PromptToolTip(CommandPrompt(commandId)));
        action->setIcon(ToolbarIcon(commandId));
        toolBar_->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::CreateStatusBar()
{
    message_ = new QLabel(QString::fromLatin1(kIdleStatusText));
    statusBar()->addWidget(message_, 1);
    // The device the device operations open, before the lock indicators.
    port_ = new QLabel;
    port_->setVisible(false);
    statusBar()->addPermanentWidget(port_);
    for (const char* text : kIndicatorTexts) {
        auto* indicator = new QLabel;
        indicator->setAlignment(Qt::AlignCenter);
        indicator->setMinimumWidth(indicator->fontMetrics().horizontalAdvance(QString::fromLatin1(text)) + 8);
        statusBar()->addPermanentWidget(indicator);
        indicators_.push_back(indicator);
    }
    UpdateKeyLockIndicators();
}

void CMainFrame::RegisterFrameCommands()
{
    using namespace CommandId;
    SetCommandHandler(AppExit, [this] { close(); });
    SetCommandHandler(ViewToolbar, [this] { toolBar_->setVisible(!toolBar_->isVisible()); });
    SetCommandHandler(ViewStatusBar, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    actions_[ViewToolbar]->setChecked(true);
    actions_[ViewStatusBar]->setChecked(true);
    connect(toolBar_, &QToolBar::visibilityChanged, actions_[ViewToolbar], &QAction::setChecked);
}

void CMainFrame::SetCommandHandler(int commandId, std::function<void()> handler)
{
    QAction* action = MakeAction(commandId, "");
    connect(action, &QAction::triggered, this, [handler] { handler(); });
    action->setEnabled(true);
    for (const ShortcutEntry& entry : ShortcutTable()) {
        if (entry.Id != commandId) {
            continue;
        }
        auto* shortcut = new QAction(this);
        shortcut->setShortcut(entry.Keys);
        shortcut->setShortcutContext(Qt::WindowShortcut);
        shortcut->setData(commandId);
        connect(shortcut, &QAction::triggered, this, [handler] { handler(); });
        addAction(shortcut);
        shortcutActions_.push_back(shortcut);
    }
}

void CMainFrame::EnableCommand(int commandId, bool enabled)
{
    if (QAction* action = CommandAction(commandId)) {
        action->setEnabled(enabled);
    }
}

QAction* CMainFrame::CommandAction(int commandId) const
{
    const auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::SetRecentFiles(const std::vector<std::string>& paths)
{
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = recentFileActions_[static_cast<std::size_t>(i)];
        const bool present = static_cast<std::size_t>(i) < paths.size();
        action->setVisible(present);
        action->setText(present ? RecentFileText(i, paths[static_cast<std::size_t>(i)]) : QString());
    }
    actions_[CommandId::FileRecent1]->setVisible(paths.empty());
}

void CMainFrame::SetRecentFileHandler(std::function<void(int)> handler) { recentFileHandler_ = std::move(handler); }

QAction* CMainFrame::RecentFileAction(int index) const { return recentFileActions_.at(static_cast<std::size_t>(index)); }

void CMainFrame::SetCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

void CMainFrame::SetFileDropHandler(std::function<void(const std::string&)> handler)
{
    fileDropHandler_ = std::move(handler);
}

void CMainFrame::SetDocumentModified(bool modified)
{
    // Each call sends the title to the window system again: only a change does.
    if (isWindowModified() != modified) {
        setWindowModified(modified);
    }
}

void CMainFrame::SetCommandsEnabled(const std::vector<int>& commandIds, bool enabled)
{
    for (int commandId : commandIds) {
        if (QAction* action = CommandAction(commandId)) {
            action->setEnabled(enabled);
        }
    }
    for (QAction* shortcut : shortcutActions_) {
        if (std::find(commandIds.begin(), commandIds.end(), shortcut->data().toInt()) != commandIds.end()) {
            shortcut->setEnabled(enabled);
        }
    }
}

void CMainFrame::SetDocumentTitle(const std::string& documentTitle)
{
    // "[*]" is where Qt shows the mark; one in the name itself is doubled to stay text.
    QString shown = PathToQString(documentTitle);
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(shown + QStringLiteral("[*] - ") + QString::fromLatin1(kApplicationTitle));
}

QString CMainFrame::ShownTitle() const
{
    if (windowHandle() != nullptr) {
        return windowHandle()->title();
    }
    QString title = windowTitle();
    title.replace(QStringLiteral("[*][*]"), QStringLiteral("\x01"));
    title.replace(QStringLiteral("[*]"), isWindowModified() ? QStringLiteral("*") : QString());
    title.replace(QStringLiteral("\x01"), QStringLiteral("[*]"));
    return title;
}

void CMainFrame::SetStatusText(const std::string& text)
{
    message_->setText(MessageToQString(text));
    message_->repaint();
}

QString CMainFrame::StatusText() const { return message_->text(); }

void CMainFrame::SetCommandChecked(int commandId, bool checked)
{
    if (const auto found = actions_.find(commandId); found != actions_.end()) {
        found->second->setChecked(checked);
    }
}

void CMainFrame::SetComPortChecks(int comPort)
{
    for (int i = 0; i < 4; ++i) {
        actions_[CommandId::ComPort1 + i]->setChecked(comPort == i + 1);
    }
    actions_[CommandId::ComPortOther]->setChecked(comPort == 0);
    UpdatePortPane();
}

void CMainFrame::SetPortSource(std::function<std::string()> devicePath)
{
    portSource_ = std::move(devicePath);
    UpdatePortPane();
}

void CMainFrame::UpdatePortPane()
{
    const QString shown = portSource_ ? PathToQString(portSource_()) : QString();
    if (port_->text() != shown) {
        port_->setText(shown);
    }
    if (port_->isVisibleTo(this) != !shown.isEmpty()) {
        port_->setVisible(!shown.isEmpty());
    }
}

QString CMainFrame::PortPaneText() const { return port_->text(); }

void CMainFrame::UpdateKeyLockIndicators()
{
    const KeyLockState state = ReadApplicationKeyLockState();
    const bool on[] = {state.Caps, state.Num, state.Scroll};
    for (std::size_t i = 0; i < indicators_.size(); ++i) {
        indicators_[i]->setText(on[i] ? QString::fromLatin1(kIndicatorTexts[i]) : QString());
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Back from elsewhere: the lock keys and the profile's port mapping may
    // have changed meanwhile.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        UpdateKeyLockIndicators();
        UpdatePortPane();
    }
}

bool CMainFrame::HandleFileDrop(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this || !fileDropHandler_) {
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = ConfigurationFileOf(drop->mimeData());
    if (path.isEmpty()) {
        return false;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        // The drag source waits for the drop to end; the open (with its
        // save-changes question) runs after it.
        const std::string dropped = PathFromQString(path);
        QMetaObject::invokeMethod(
            this, [this, dropped] { fileDropHandler_(dropped); }, Qt::QueuedConnection);
    }
    return true;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (IsLockKey(event)) {
        UpdateKeyLockIndicators();
    }
    // Edits would take a dropped file as text; a configuration file is
    // opened wherever it lands on the window.
    if (HandleFileDrop(watched, event)) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
