// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_frame.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/main_menu.h"
#include "app/num_lock_state.h"
#include "app/toolbar_icons.h"
#include "lang/text_lookup.h"
#include "platform/command_ids.h"
#include "platform/program_paths.h"
#include "platform/qt/command_action.h"
#include "platform/utf8_text.h"

namespace qzm {
namespace {

constexpr int kFrameWidth = 900;
constexpr int kFrameHeight = 650;
constexpr std::size_t kMaxToolTipCharacters = 19;  // the 20-character field with its terminator
constexpr int kNumLockPollMs = 500;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    urlOpener_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    setWindowIcon(programIcon());
    createMenu();
    createToolBar();
    createAccelerators();
    createStatusBar();
    setDockNestingEnabled(true);
    setAcceptDrops(true);
    viewArea_ = new QScrollArea(this);
    viewArea_->setWidgetResizable(true);
    viewArea_->setFrameShape(QFrame::NoFrame);
    setCentralWidget(viewArea_);
    commands_.set(ID_HELP_HELP, [this] { openHelp(); });
    commands_.set(ID_APP_EXIT, [this] { close(); });
    refreshCommandStates();
    updateTitle();
    // Focused edit fields claim keys such as Ctrl+C for themselves; the
    // accelerators of the window come first.
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    // The port is closed before any window goes away.
    if (destroyHook_) {
        destroyHook_();
    }
}

QAction* CMainFrame::addCommandAction(QWidget* owner, int id, const QString& caption) {
    auto* action = new QAction(caption, owner);
    setCommandId(action, id);
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    owner->addAction(action);
    return action;
}

void CMainFrame::createMenu() {
    for (const MenuTemplate& menuTemplate : mainMenuTemplate()) {
        QMenu* menu = menuBar()->addMenu(fromUtf8(menuTemplate.caption));
        for (const MenuItemTemplate& item : menuTemplate.items) {
            if (item.id == 0) {
                menu->addSeparator();
            } else if (item.id == ID_FILE_MRU_FILE1) {
                // Filled by setRecentFiles; the separator after it marks the place.
                auto* placeholder = menu->addAction(fromUtf8(item.caption));
                setCommandId(placeholder, ID_FILE_MRU_FILE1);
                placeholder->setEnabled(false);
                recentActions_.push_back(placeholder);
            } else {
                menuActions_[item.id] = addCommandAction(menu, item.id, fromUtf8(item.caption));
            }
        }
    }
}

void CMainFrame::createToolBar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName("toolbar128");
    toolBar_->setIconSize(QSize(kToolbarImageWidth, kToolbarImageHeight));
    toolBar_->setMovable(true);  // with its gripper
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int id : toolbarTemplate()) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = addCommandAction(toolBar_, id, QString());
        action->setIcon(toolbarIcon(id));
        toolbarActions_[id] = action;
        if (QWidget* button = toolBar_->widgetForAction(action)) {
            setCommandId(button, id);
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    nameToolbarButtons();
}

void CMainFrame::createAccelerators() {
    for (const AcceleratorTemplate& accelerator : acceleratorTemplate()) {
        auto* action = new QAction(this);
        setCommandId(action, accelerator.id);
        action->setShortcut(QKeySequence(fromUtf8(accelerator.keys), QKeySequence::PortableText));
        action->setShortcutContext(Qt::WindowShortcut);
        const int id = accelerator.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        addAction(action);
        acceleratorActions_.push_back(action);
    }
}

void CMainFrame::createStatusBar() {
    portPane_ = new QLabel(this);
    portPane_->setObjectName("pane129");
    // Fitted to "COMX"; a longer port name widens it rather than being cut.
    portPane_->setMinimumWidth(portPane_->fontMetrics().horizontalAdvance(QStringLiteral("COMX")) +
                               2 * portPane_->margin() + 8);
    portPane_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    numLockPane_ = new QLabel(this);
    numLockPane_->setObjectName("paneNumLock");
    numLockPane_->setMinimumWidth(
        numLockPane_->fontMetrics().horizontalAdvance(QStringLiteral("NUM")) + 8);
    numLockPane_->setAlignment(Qt::AlignCenter);
    createNotePanes();
    statusBar()->addWidget(portPane_, 1);
    statusBar()->addPermanentWidget(documentPane_);
    statusBar()->addPermanentWidget(numLockPane_);
    numLockTimer_ = new QTimer(this);
    connect(numLockTimer_, &QTimer::timeout, this, &CMainFrame::updateNumLockPane);
    numLockTimer_->start(kNumLockPollMs);
    updateNumLockPane();
}

void CMainFrame::refreshCommandStates() {
    const auto update = [this](QAction* action) {
        const int id = commandIdOf(action);
        if (id != 0 && id != ID_FILE_MRU_FILE1) {
            action->setEnabled(commands_.has(id));
        }
    };
    for (auto& [id, action] : menuActions_) {
        update(action);
    }
    for (auto& [id, action] : toolbarActions_) {
        update(action);
    }
    for (QAction* action : acceleratorActions_) {
        update(action);
    }
}

bool CMainFrame::runCommand(int id) {
    return commands_.run(id);
}

QAction* CMainFrame::menuAction(int id) const {
    const auto found = menuActions_.find(id);
    if (found != menuActions_.end()) {
        return found->second;
    }
    for (QAction* recent : recentActions_) {
        if (commandIdOf(recent) == id) {
            return recent;
        }
    }
    return nullptr;
}

QAction* CMainFrame::toolbarAction(int id) const {
    const auto found = toolbarActions_.find(id);
    return found == toolbarActions_.end() ? nullptr : found->second;
}

void CMainFrame::showPortInStatusBar(int portNumber) {
    portPane_->setText(QStringLiteral("COM%1").arg(portNumber));
    portPane_->repaint();
}

void CMainFrame::updateTitle() {
    setWindowTitle(QString::fromStdString(lookupText("IDS_WINDOWNAME")));
}

void CMainFrame::setView(QWidget* view) {
    viewArea_->setWidget(view);
}

QWidget* CMainFrame::view() const {
    return viewArea_->widget();
}

QSize CMainFrame::sizeForView() {
    QWidget* form = view();
    if (form == nullptr) {
        return {};
    }
    // Bars and client area laid out again first, also while the window is hidden;
    // unpolished bars still have the sizes of no style.
    ensurePolished();
    if (layout() != nullptr) {
        layout()->activate();
    }
    // What the window needs around the form: menu, toolbar, status bar and
    // the scroll area's own frame.
    const int edge = 2 * viewArea_->frameWidth();
    const QSize around = size() - viewArea_->size() + QSize(edge, edge);
    return form->minimumSize().expandedTo(form->sizeHint()) + around;
}

void CMainFrame::shrinkToFitView() {
    const QSize wanted = sizeForView();
    if (wanted.isEmpty()) {
        return;
    }
    resize(std::min(width(), wanted.width()), std::min(height(), wanted.height()));
}

void CMainFrame::fitToView() {
    if (fittedToView_) {
        shrinkToFitView();
        return;
    }
    const QSize wanted = sizeForView();
    if (wanted.isEmpty()) {
        return;
    }
    fittedToView_ = true;
    if (placedFromMemory_) {
        // The user's own size and place from the last run stay.
        return;
    }
    QSize room(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        // The title bar and borders count against the screen as well.
        room = screen->availableGeometry().size() - (frameGeometry().size() - size());
    }
    // The classic start size stays the least, unless the screen is smaller.
    const QSize least = QSize(kFrameWidth, kFrameHeight).boundedTo(room);
    QSize fitted = wanted.boundedTo(room).expandedTo(least);
    // Where one side stays short, its scroll bar takes room from the other.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (fitted.width() < wanted.width()) {
        fitted.setHeight(std::max(std::min(wanted.height() + bar, room.height()), fitted.height()));
    }
    if (fitted.height() < wanted.height()) {
        fitted.setWidth(std::max(std::min(wanted.width() + bar, room.width()), fitted.width()));
    }
    resize(fitted);
    centreOnScreen();
    growOnShow_ = !isVisible();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (growOnShow_) {
        growOnShow_ = false;
        // Bars and styles take their final sizes only on screen.
        QTimer::singleShot(0, this, [this] { growToShownView(); });
    }
}

void CMainFrame::growToShownView() {
    QWidget* form = view();
    if (form == nullptr) {
        return;
    }
    const QSize missing = (form->minimumSize() - viewArea_->viewport()->size()).expandedTo({0, 0});
    if (missing == QSize(0, 0)) {
        return;
    }
    QSize grown = size() + missing;
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        grown =
            grown.boundedTo(screen->availableGeometry().size() - (frameGeometry().size() - size()));
    }
    resize(grown.expandedTo(size()));
    centreOnScreen();
}

void CMainFrame::setRecentFiles(const QStringList& paths) {
    QMenu* fileMenu =
        menuBar()->actions().value(0) ? menuBar()->actions().value(0)->menu() : nullptr;
    if (fileMenu == nullptr || recentActions_.empty()) {
        return;
    }
    // New entries go where the first old one was.
    QAction* first = recentActions_.front();
    const QList<QAction*> all = fileMenu->actions();
    const qsizetype at = all.indexOf(first);
    QAction* before = at >= 0 && at + static_cast<qsizetype>(recentActions_.size()) < all.size()
                          ? all[at + static_cast<qsizetype>(recentActions_.size())]
                          : nullptr;
    for (QAction* old : recentActions_) {
        fileMenu->removeAction(old);
        old->deleteLater();
    }
    recentActions_.clear();
    if (paths.isEmpty()) {
        auto* placeholder = new QAction(fromUtf8(kRecentFilePlaceholder), fileMenu);
        setCommandId(placeholder, ID_FILE_MRU_FILE1);
        placeholder->setEnabled(false);
        fileMenu->insertAction(before, placeholder);
        recentActions_.push_back(placeholder);
        return;
    }
    for (qsizetype i = 0; i < paths.size() && i < kRecentFileCount; ++i) {
        QString shown = paths[i];
        shown.replace(u'&', QStringLiteral("&&"));
        const int id = ID_FILE_MRU_FILE1 + static_cast<int>(i);
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), fileMenu);
        setCommandId(action, id);
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        fileMenu->insertAction(before, action);
        recentActions_.push_back(action);
    }
}

QString CMainFrame::toolTipText(int commandId) {
    if (commandId == 0) {
        return {};
    }
    const std::string text = lookupText("IDS_TIP_" + std::to_string(commandId));
    return QString::fromStdString(cutToCharacters(text, kMaxToolTipCharacters));
}

std::optional<std::filesystem::path> CMainFrame::helpFileFor(
    const std::filesystem::path& languageFile) {
    std::error_code error;
    for (const char* extension : {".chm", ".html"}) {
        std::filesystem::path candidate = languageFile;
        candidate.replace_extension(extension);
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return std::nullopt;
}

void CMainFrame::openHelp() {
    // A missing help file is not reported.
    const auto file = helpFileFor(languagePath());
    if (!file) {
        return;
    }
    if (urlOpener_ && urlOpener_(QUrl::fromLocalFile(QString::fromStdString(file->string())))) {
        return;
    }
    // The desktop could not open it: never leave the user with nothing.
    if (!helpViewer_) {
        helpViewer_ = new HelpViewer(this);
    }
    helpViewer_->showHelp(*file);
}

void CMainFrame::placeOnScreen(const std::optional<WindowPlacement>& saved) {
    QList<QRect> available;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) {
        available.push_back(primary->availableGeometry());
    }
    for (QScreen* each : QGuiApplication::screens()) {
        if (each != primary) {
            available.push_back(each->availableGeometry());
        }
    }
    placeWithin(saved, available);
}

void CMainFrame::placeWithin(const std::optional<WindowPlacement>& saved,
                             const QList<QRect>& available) {
    const QMargins frame = frameMargins();
    const QRect placed =
        fitWindowGeometry(saved ? std::optional<QRect>(saved->normal) : std::nullopt, available,
                          QSize(kFrameWidth, kFrameHeight), frame);
    // A window wider or taller than a small screen could not fit it at all.
    if (!available.isEmpty()) {
        const QSize around(frame.left() + frame.right(), frame.top() + frame.bottom());
        const QSize room = available.front().size() - around;
        setMinimumSize(minimumSize().boundedTo(room));
    }
    setGeometry(placed);
    placedFromMemory_ = saved.has_value();
    startMaximised_ = saved && saved->maximised;
}

void CMainFrame::showPlaced() {
    if (startMaximised_) {
        showMaximized();
    } else {
        show();
        if (placedFromMemory_) {
            return;
        }
        // The form may have grown since it was fitted (texts of the language
        // file): the first look shows all of it where the screen has room.
        if (layout() != nullptr) {
            layout()->activate();
        }
        growToShownView();
    }
}

QMargins CMainFrame::frameMargins() const {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins shown(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!shown.isNull()) {
        return shown;
    }
    // Not yet on screen: the window manager has not said; a title bar and thin
    // borders are what it will most likely add.
    const int border = 4;
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return {border, title + border, border, border};
}

void CMainFrame::centreOnScreen() {
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveCenter(available.center());
        // A window taller than a small screen (1024 by 600) hangs off its
        // bottom, never off its top: the title bar stays within reach.
        frame.moveTop(std::max(frame.top(), available.top()));
        move(frame.topLeft());
    }
}

void CMainFrame::updateNumLockPane() {
    const std::optional<bool> on = numLockState();
    numLockPane_->setText(on.value_or(false) ? QStringLiteral("NUM") : QString());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
    keepPlacement();
    event->accept();
}

void CMainFrame::keepPlacement() {
    if (placementKeeper_) {
        placementKeeper_({normalGeometry(), isMaximized()});
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    std::vector<std::filesystem::path> files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            files.emplace_back(url.toLocalFile().toStdString());
        }
    }
    if (files.empty()) {
        return;
    }
    event->acceptProposedAction();
    activateWindow();
    if (dropHandler_) {
        dropHandler_(files);
    }
}

int CMainFrame::acceleratorOfThisWindow(QObject* watched, QEvent* event) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) {
        return 0;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* accelerator : acceleratorActions_) {
        if (accelerator->isEnabled() && accelerator->shortcut() == pressed) {
            return commandIdOf(accelerator);
        }
    }
    return 0;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const int command = acceleratorOfThisWindow(watched, event);
        // The override travels up from the widget that has the key to its parents; that
        // first widget decides.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event != overrideEvent_ || overrideOrigin_.isNull() || widget == nullptr ||
            !widget->isAncestorOf(overrideOrigin_)) {
            overrideEvent_ = event;
            overrideOrigin_ = widget;
        }
        if (command != 0 && keyKeeper_ && keyKeeper_(overrideOrigin_, command)) {
            // Accepted: the widget gets the key as its own, the accelerator does not run.
            event->accept();
            return true;
        }
        // Not accepted, so the key goes to the window's accelerator; keys
        // without a handler stay with the field (paste keeps working there).
        return command != 0;
    }
    // The filter sees the whole application's events: only the toolbar's own
    // buttons get their tooltips from here.
    if (event->type() == QEvent::ToolTip && watched->parent() == toolBar_ &&
        commandIdOf(watched) != 0) {
        // Looked up each time, so a language switch shows at the next hover.
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTipText(commandIdOf(watched));
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), text, qobject_cast<QWidget*>(watched));
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace qzm
