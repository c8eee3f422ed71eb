// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zavo_app.h"

#include <QApplication>
#include <QMenuBar>
#include <QPrinter>
#include <QTimer>

#include "app/about_dialog.h"
#include "app/main_frame.h"
#include "app/open_backup_dialog.h"
#include "editor/qt/zavo_view.h"
#include "exchange/qt/channel_exchange_commands.h"
#include "lang/language_files.h"
#include "lang/qt/language_dialog.h"
#include "lang/qt/menu_retitle.h"
#include "lang/text_lookup.h"
#include "link/qt/port_dialog.h"
#include "link/qt/transfer_dialog.h"
#include "platform/command_ids.h"
#include "platform/program_paths.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_message_box.h"
#include "platform/settings.h"
#include "platform/startup_paths.h"
#include "platform/system_locale.h"
#include "radio/document_strings.h"
#include "radio/zavo_doc.h"
#include "safety/settings_transfer_safety.h"

namespace qzm {
namespace {

// Often enough to look immediate, rarely enough to cost nothing.
constexpr int kDocumentPanePollMs = 200;

}  // namespace

CZavoApp::CZavoApp(AppOptions options) : options_(std::move(options)) {
    if (options_.messageBox != nullptr) {
        messageBox_ = options_.messageBox;
    } else {
        ownMessageBox_ = std::make_unique<QtMessageBox>();
        messageBox_ = ownMessageBox_.get();
    }
    if (options_.fileDialog != nullptr) {
        fileDialog_ = options_.fileDialog;
    } else {
        ownFileDialog_ = std::make_unique<QtFileDialog>();
        fileDialog_ = ownFileDialog_.get();
    }
    if (options_.backupChooser != nullptr) {
        backupChooser_ = options_.backupChooser;
    } else {
        ownBackupChooser_ = std::make_unique<OpenBackupChooser>();
        backupChooser_ = ownBackupChooser_.get();
    }
}

CZavoApp::~CZavoApp() {
    // The window goes first (it closes the port), then the document.
    mainFrame_.reset();
    document_.reset();
    port_->close();
}

bool CZavoApp::InitInstance(const QStringList& arguments) {
    std::filesystem::path folder = options_.programDir;
    if (folder.empty()) {
        folder = executableDir().value_or(std::filesystem::path());
    }
    const bool chinese = options_.chineseLocale.value_or(systemLocaleIsChinesePrc());
    if (folder.empty() || initProgramPaths(folder, chinese) != StartupPaths::Ready) {
        // The one message no language file can supply.
        messageBox_->show(std::string(kMissingSettingsMessage), applicationName(),
                          {MessageIcon::Stop, MessageButtons::Ok, MessageOwner::Application});
        return false;
    }

    // Port numbers may be mapped to devices in section "ports" of "setting.ini".
    port_->setPortMap(PortMap(settingsPath()));
    // Qt's standard buttons and dialogs speak the language file's language.
    qtTranslations_.follow(languagePath());

    // The empty document made below asks no question.
    skipClearPrompt_ = true;

    recentFiles_ = std::make_unique<RecentFileList>(options_.recentFileStore);

    document_ = std::make_unique<CZavoDoc>(*messageBox_, currentLanguageTexts(), *this);
    createMainWindow();

    // The command line: a data file opens it, nothing makes the empty document.  A file
    // that is not a whole data file was reported; the program goes on with an empty one.
    bool needNew = arguments.isEmpty();
    if (!needNew) {
        const CommandStatus opened = openDocumentFileFor(arguments.front().toStdString());
        if (opened != CommandStatus::Done && opened != CommandStatus::Refused) {
            return false;
        }
        needNew = opened == CommandStatus::Refused;
    }
    if (needNew) {
        skipClearPrompt_ = true;
        const CommandResult made = document_->newDocument();
        if (!made.done()) {
            return false;
        }
        afterDocumentReset();
    }

    mainFrame_->showPlaced();
    mainFrame_->repaint();
    mainFrame_->setAcceptDrops(true);
    mainFrame_->updateTitle();
    if (arguments.isEmpty()) {
        offerUnsavedWork();
    }
    return true;
}

void CZavoApp::createMainWindow() {
    mainFrame_ = std::make_unique<CMainFrame>();
    mainFrame_->placeOnScreen(loadWindowPlacement(options_.recentFileStore));
    mainFrame_->setPlacementKeeper([store = options_.recentFileStore](const WindowPlacement& at) {
        saveWindowPlacement(store, at);
    });
    // A close hides the window before the event loop ends; a window still shown at the
    // end was not closed.
    connect(qApp, &QCoreApplication::aboutToQuit, mainFrame_.get(), [this] {
        if (mainFrame_->isVisible()) {
            endedWithoutClose();
        }
    });
    if (ownMessageBox_) {
        ownMessageBox_->setMainWindow(mainFrame_.get());
    }
    if (ownBackupChooser_) {
        ownBackupChooser_->setOwner(mainFrame_.get());
    }
    if (ownFileDialog_) {
        ownFileDialog_->setOwner(mainFrame_.get());
    }
    view_ = new CZavoView(*this, *document_);
    mainFrame_->setView(view_);
    mainFrame_->setDestroyHook([this] { port_->close(); });
    mainFrame_->setCloseGuard([this] { return canCloseDocument(); });
    mainFrame_->setDropHandler([this](const std::vector<std::filesystem::path>& files) {
        for (const auto& file : files) {
            if (!openDocumentFile(file)) {
                break;
            }
        }
    });
    registerCommands();
    updateRecentMenu();
    showPortInStatusBar(readComPort());
    auto* paneTimer = new QTimer(mainFrame_.get());
    QObject::connect(paneTimer, &QTimer::timeout, this, [this] { updateDocumentPane(); });
    paneTimer->start(kDocumentPanePollMs);
}

void CZavoApp::registerCommands() {
    CommandTable& commands = mainFrame_->commands();
    commands.set(ID_FILE_NEW, [this] { onFileNew(); });
    commands.set(ID_FILE_OPEN, [this] { onFileOpen(); });
    commands.set(ID_FILE_OPEN_BACKUP, [this] { onFileOpenBackup(); });
    commands.set(ID_FILE_SAVE, [this] { onFileSave(); });
    commands.set(ID_FILE_SAVE_AS, [this] { onFileSaveAs(); });
    for (int i = 0; i < kRecentFileCount; ++i) {
        commands.set(ID_FILE_MRU_FILE1 + i, [this, i] { onRecentFile(i); });
    }
    commands.set(ID_APP_ABOUT, [this] { onAppAbout(); });
    commands.set(ID_SETTING_LANGUAGE, [this] { onLanguage(); });
    commands.set(ID_NEXT_LANGUAGE, [this] { onNextLanguage(); });
    commands.set(ID_PROGRAM_READ, [this] { onTransfer(kDirectionRead); });
    commands.set(ID_PROGRAM_WRITE, [this] { onTransfer(kDirectionWrite); });
    commands.set(ID_SETTING_PORT, [this] { onPortSetting(); });
    registerPrintCommands();
    commands.set(ID_FILE_IMPORT_CHANNELS, [this] { importChannelsAndTell(); });
    commands.set(ID_FILE_EXPORT_CHANNELS, [this] { exportChannels(*this, *document_); });
    registerEditCommands();
    mainFrame_->refreshCommandStates();
}

QWidget* CZavoApp::mainWindow() {
    return mainFrame_.get();
}

void CZavoApp::retitleMenu() {
    if (mainFrame_) {
        qzm::retitleMenu(*mainFrame_->menuBar());
        mainFrame_->nameToolbarButtons();
    }
}

void CZavoApp::refreshTextsAndViews() {
    qtTranslations_.follow(languagePath());
    retitleMenu();
    if (document_) {
        document_->onImageReplaced();
    }
}

void CZavoApp::showPortInStatusBar(int portNumber) {
    if (mainFrame_) {
        mainFrame_->showPortInStatusBar(portNumber);
    }
}

void CZavoApp::fitMainWindowToView() {
    if (mainFrame_) {
        mainFrame_->fitToView();
    }
}

std::string CZavoApp::applicationName() const {
    // The window's name in the current language; the document type's title
    // before a language file is known or when it lacks the text.
    return lookupTextOr("IDS_WINDOWNAME", kDocumentWindowTitle);
}

void CZavoApp::onAppAbout() {
    AboutDialog about(mainFrame_.get());
    about.exec();
}

void CZavoApp::onLanguage() {
    LanguageDialog dialog(*this, mainFrame_.get());
    dialog.exec();
}

void CZavoApp::onTransfer(int direction) {
    SettingsTransferSafety safety(settingsPath(), currentLanguageTexts());
    TransferDialog dialog(*this, *document_, port_, settingsPath(), direction, safety,
                          mainFrame_.get());
    const int result = dialog.exec();
    if (const auto& backup = dialog.backupToOpen()) {
        // A write that stopped half-way: the memory from before it, ready to write back.
        openBackup(*backup);
        return;
    }
    if (result != TransferDialog::kEndedByItself) {
        return;
    }
    if (direction == kDirectionRead) {
        tellDone("IDS_DONE_READ");
        if (view_ != nullptr) {
            view_->warnOfDamagedValues();
        }
    } else {
        tellDone("IDS_DONE_WRITE");
    }
}

void CZavoApp::importChannelsAndTell() {
    const RadioImage before = document_->image();
    importChannels(*this, *document_);
    if (document_->image().bytes != before.bytes) {
        tellDone("IDS_DONE_IMPORT");
        if (view_ != nullptr) {
            view_->warnOfDamagedValues();
        }
    }
}

void CZavoApp::showStatusMessage(const std::string& text) {
    if (mainFrame_) {
        mainFrame_->showStatusMessage(QString::fromStdString(text));
    }
}

void CZavoApp::tellDone(std::string_view key, const std::filesystem::path& file) {
    QString text = QString::fromStdString(lookupText(key));
    if (text.contains(QStringLiteral("%1"))) {
        text = text.arg(QString::fromStdString(file.filename().string()));
    }
    showStatusMessage(text.toStdString());
    updateDocumentPane();
}

void CZavoApp::updateDocumentPane() {
    if (!mainFrame_ || !document_) {
        return;
    }
    const std::filesystem::path& path = document_->pathName();
    const std::string name = path.empty() ? untitledName() : path.filename().string();
    mainFrame_->showDocumentState(QString::fromStdString(name), document_->IsModified());
}

void CZavoApp::onPortSetting() {
    PortDialog dialog(*this, *port_, mainFrame_.get());
    dialog.exec();
}

void CZavoApp::onNextLanguage() {
    const LanguageSwitch outcome = switchToNextLanguage();
    if (outcome == LanguageSwitch::NoLanguageFile) {
        return;
    }
    if (outcome == LanguageSwitch::SwitchedNotSaved) {
        reportSettingsNotWritten(*this);
    }
    refreshTextsAndViews();
}

}  // namespace qzm
