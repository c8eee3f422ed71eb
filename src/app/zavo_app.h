// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/recent_file_list.h"
#include "lang/qt/qt_translations.h"
#include "link/serial_port.h"
#include "platform/qt/app_shell.h"
#include "radio/document_host.h"
#include "radio/zavo_doc.h"

class QPrinter;

namespace qzm {

class CMainFrame;
class CZavoDoc;
class CZavoView;
class OpenBackupChooser;
class QtFileDialog;
class QtMessageBox;

// What start-up takes from outside; tests replace each part.
struct AppOptions {
    // The folder of "setting.ini" and the language files; empty: the executable's.
    std::filesystem::path programDir;
    // The recent-file store as an INI file; empty: the per-user store.
    QString recentFileStore;
    // Seams for questions and file names; null: the Qt ones.
    MessageBoxSeam* messageBox = nullptr;
    FileDialogSeam* fileDialog = nullptr;
    // Picks a backup for File > Open Backup; null: the backup table.
    FileDialogSeam* backupChooser = nullptr;
    // Whether the system locale is Chinese (PRC); empty: from the environment.
    std::optional<bool> chineseLocale;
};

// The application object: it lives for the whole run, owns the serial port,
// the document, the main window and the view, and carries the commands that
// are not the main window's own (New, Open, recent files, About, language).
class CZavoApp : public QObject, public AppShell, public DocumentHost {
    Q_OBJECT

  public:
    explicit CZavoApp(AppOptions options = {});
    ~CZavoApp() override;

    // Start-up in its fixed order.  False: end the program at once (no
    // "setting.ini", or the file named on the command line could not be opened).
    // `arguments` are the command-line arguments after the program name.
    bool InitInstance(const QStringList& arguments = {});

    CMainFrame* mainFrame() const { return mainFrame_.get(); }
    CZavoDoc* document() const { return document_.get(); }
    CZavoView* view() const { return view_; }
    // The one serial port; the main window closes it when it goes.  A transfer
    // worker holds a share of it until it has ended.
    SerialPort& port() { return *port_; }
    const std::shared_ptr<SerialPort>& sharedPort() const { return port_; }
    RecentFileList& recentFiles() { return *recentFiles_; }

    // The single entry for opening a named file: menu, recent list, command
    // line, drops.  False when the file could not be read, was refused or the
    // user cancelled; the document is then as it was.
    bool openDocumentFile(const std::filesystem::path& file);

    // Commands of the application object.
    void onFileNew();
    void onFileOpen();
    // File > Open Backup: a backup opens as a document without a file, so that a Save
    // never replaces the backup itself.
    void onFileOpenBackup();
    // Opens a backup as a document without a file name (it is a source, never a target).
    void openBackup(const std::filesystem::path& file);
    void onFileSave();
    void onFileSaveAs();
    void onRecentFile(int index);
    void onAppAbout();
    void onLanguage();
    void onNextLanguage();
    void onTransfer(int direction);
    void onPortSetting();
    // Printing (print_commands.cpp): with the print dialog, on the current
    // printer without it, the preview, and the choice of printer and page.
    void onFilePrint();
    void onFilePrintDirect();
    void onFilePrintPreview();
    void onFilePrintSetup();
    // The one printer of this run, made on first use; Print Setup's choice
    // stays in it for the later prints.
    QPrinter& printer();
    // Closing the window or Exit: false when the user keeps the document open.
    bool canCloseDocument();
    // The program ends with the window still open (SIGTERM ends the event loop): the
    // window's place is kept, and unsaved changes go to a file the next start offers.
    void endedWithoutClose();

    // AppShell
    QWidget* mainWindow() override;
    MessageBoxSeam& messageBox() override { return *messageBox_; }
    FileDialogSeam& fileDialog() override { return *fileDialog_; }
    void retitleMenu() override;
    void refreshTextsAndViews() override;
    void showPortInStatusBar(int portNumber) override;
    void fitMainWindowToView() override;
    // Names and greys the Edit menu's items as the document stands now.
    void updateEditMenu();
    void showStatusMessage(const std::string& text) override;
    // The document pane: the file's name (or the untitled name) and whether
    // it has unsaved changes.  A timer keeps it current whatever changed it.
    void updateDocumentPane();

    // DocumentHost
    bool skipClearPrompt() const override { return skipClearPrompt_; }
    void setSkipClearPrompt(bool value) override { skipClearPrompt_ = value; }
    bool saveModified(CZavoDoc& document) override;
    std::string applicationName() const override;

  private:
    void createMainWindow();
    void registerCommands();
    void registerPrintCommands();
    void registerEditCommands();
    // The page on the printer; a message when it could not be printed.
    void printPage(QPrinter& target);
    void afterDocumentReset();
    // A short note for a finished command; %1 in the text is the file name.
    void tellDone(std::string_view key, const std::filesystem::path& file = {});
    void importChannelsAndTell();
    CommandStatus openDocumentFileFor(const std::filesystem::path& file);
    void showFileError(const std::string& text);
    // Save As: the file dialog, then the store.  False when cancelled or failed.
    bool saveDocumentAs();
    void rememberCurrentFile();
    // Where the file dialogs start: the document's folder, else the folder
    // last used, else the home folder.
    std::filesystem::path fileDialogFolder() const;
    // The language's name of a document without a file.
    std::string untitledName() const;
    void updateRecentMenu();
    // At a start without a file: the newest unsaved work an earlier run kept, opened
    // as an unsaved document (Yes), discarded (No), or left for later (Cancel).
    void offerUnsavedWork();

    AppOptions options_;
    std::shared_ptr<SerialPort> port_ = std::make_shared<SerialPort>();
    bool skipClearPrompt_ = false;
    std::unique_ptr<QtMessageBox> ownMessageBox_;
    std::unique_ptr<QtFileDialog> ownFileDialog_;
    MessageBoxSeam* messageBox_ = nullptr;
    FileDialogSeam* fileDialog_ = nullptr;
    std::unique_ptr<OpenBackupChooser> ownBackupChooser_;
    FileDialogSeam* backupChooser_ = nullptr;
    std::unique_ptr<RecentFileList> recentFiles_;
    QtTranslations qtTranslations_;
    std::unique_ptr<CZavoDoc> document_;
    std::unique_ptr<CMainFrame> mainFrame_;
    CZavoView* view_ = nullptr;  // owned by the main window
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace qzm
