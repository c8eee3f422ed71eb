// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "app/command_table.h"
#include "app/help_viewer.h"
#include "app/window_placement.h"

class QAction;
class QLabel;
class QScrollArea;
class QTimer;
class QToolBar;

namespace qzm {

// The main window: menu, toolbar, the two-pane status bar (port, Num Lock) and
// the editor form.  Its title is always the program name of the language file.
// Every menu item, toolbar button and key runs its command through commands();
// a command without a handler is disabled.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CommandTable& commands() { return commands_; }
    // Enables exactly the menu items, buttons and keys whose command has a handler.
    void refreshCommandStates();
    // Runs a command as its menu item would; false when it has no handler.
    bool runCommand(int id);

    // The menu item and the toolbar button of a command (nullptr when none).
    QAction* menuAction(int id) const;
    QAction* toolbarAction(int id) const;
    QToolBar* toolBar() const { return toolBar_; }

    // Writes "COM<n>" into the port pane.
    void showPortInStatusBar(int portNumber);
    QLabel* portPane() const { return portPane_; }
    QLabel* numLockPane() const { return numLockPane_; }
    // Asked for each accelerator key while `focus` has the keyboard: true leaves the key
    // to that widget (a text field keeps its own undo, cut, copy and paste).
    void setKeyKeeper(std::function<bool(QWidget* focus, int commandId)> keeper) {
        keyKeeper_ = std::move(keeper);
    }

    // status_panes.cpp: the note pane (what the last action did, read out by
    // screen readers) and the document pane (file name and modified mark).
    void showStatusMessage(const QString& text);
    void showDocumentState(const QString& name, bool modified);
    QLabel* messagePane() const { return messagePane_; }
    // Screen readers name each toolbar button by its tooltip text, in the
    // current language (the buttons show only an icon).
    void nameToolbarButtons();
    QLabel* documentPane() const { return documentPane_; }

    // The title is the language file's program name, whatever the document.
    void updateTitle();

    // The editor form, shown in the client area (scrolling when the window is
    // smaller than the form).
    void setView(QWidget* view);
    QWidget* view() const;
    // Shrinks the window to fit the form, never grows it.
    void shrinkToFitView();
    // The first time: grows the window so the whole form shows without
    // scroll bars, as far as the screen's available area allows but never
    // below 900 by 650, and centres it.  Every later time: shrinkToFitView.
    void fitToView();

    // The recent-file entries, newest first; the placeholder when empty.
    void setRecentFiles(const QStringList& paths);

    // The tooltip of a toolbar command: its "IDS_TIP_<id>" text, at most 19
    // characters; empty for id 0.
    static QString toolTipText(int commandId);

    // Help: the ".chm" beside the language file, or an ".html" of that name.
    void openHelp();
    // The help file for a language file, when one exists.
    static std::optional<std::filesystem::path> helpFileFor(
        const std::filesystem::path& languageFile);
    // The window that shows the help page when the desktop cannot; null until then.
    HelpViewer* helpViewer() const { return helpViewer_; }
    // Opens a help file (false: it could not); the desktop's viewer by default,
    // replaced in tests.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { urlOpener_ = std::move(opener); }

    // Asked by the close button (and Exit): false keeps the window open.
    void setCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }
    // Files dropped on the window, in the order given.
    void setDropHandler(std::function<void(const std::vector<std::filesystem::path>&)> handler) {
        dropHandler_ = std::move(handler);
    }
    // Runs when the window is destroyed, before anything else (closes the port).
    void setDestroyHook(std::function<void()> hook) { destroyHook_ = std::move(hook); }

    // The first start: 900 by 650 pixels, centred on the screen.  Later: the
    // size, place and maximised state the window was closed with.  Either way
    // the whole window, title bar included, fits the screen's available area.
    void placeOnScreen(const std::optional<WindowPlacement>& saved = std::nullopt);
    // The same within the given available areas (the primary first).
    void placeWithin(const std::optional<WindowPlacement>& saved, const QList<QRect>& available);
    // Shows the window as placed: maximised when it was closed so.
    void showPlaced();
    // Told where the window is whenever it closes, to keep for the next start;
    // keepPlacement tells it now (the program ends without a close).
    void setPlacementKeeper(std::function<void(const WindowPlacement&)> keeper) {
        placementKeeper_ = std::move(keeper);
    }
    void keepPlacement();
    // Title bar and borders around the client area (an estimate until shown).
    QMargins frameMargins() const;
    // Centred on the screen's available area, the title bar never above it.
    void centreOnScreen();

    // Shows the Num Lock state now (a timer keeps it current).
    void updateNumLockPane();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The window size that shows the whole form; empty without a form.
    QSize sizeForView();
    // After the first show: what the bars really take is known, the form may
    // still lack a few pixels.
    void growToShownView();
    void createMenu();
    void createToolBar();
    void createAccelerators();
    void createStatusBar();
    void createNotePanes();
    QAction* addCommandAction(QWidget* owner, int id, const QString& caption);
    // The command of an enabled accelerator for the key, 0 when none.
    int acceleratorOfThisWindow(QObject* watched, QEvent* event) const;

    CommandTable commands_;
    std::map<int, QAction*> menuActions_;
    std::map<int, QAction*> toolbarActions_;
    std::vector<QAction*> acceleratorActions_;
    std::vector<QAction*> recentActions_;
    QToolBar* toolBar_ = nullptr;
    QLabel* portPane_ = nullptr;
    QLabel* numLockPane_ = nullptr;
    QLabel* messagePane_ = nullptr;
    std::function<bool(QWidget*, int)> keyKeeper_;
    // The shortcut override being passed up the parents, and the widget it started at.
    const QEvent* overrideEvent_ = nullptr;
    QPointer<QWidget> overrideOrigin_;
    QLabel* documentPane_ = nullptr;
    QTimer* numLockTimer_ = nullptr;
    QScrollArea* viewArea_ = nullptr;
    bool fittedToView_ = false;
    bool growOnShow_ = false;
    std::function<bool(const QUrl&)> urlOpener_;
    QPointer<HelpViewer> helpViewer_;
    std::function<bool()> closeGuard_;
    std::function<void(const WindowPlacement&)> placementKeeper_;
    bool placedFromMemory_ = false;
    bool startMaximised_ = false;
    std::function<void(const std::vector<std::filesystem::path>&)> dropHandler_;
    std::function<void()> destroyHook_;
};

}  // namespace qzm
