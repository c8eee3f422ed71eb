// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolTip>

#include "app/main_frame.h"
#include "app/num_lock_state.h"
#include "app_fixture.h"
#include "platform/command_ids.h"
#include "platform/program_paths.h"
#include "radio/zavo_doc.h"

namespace qzm::test {
namespace {

using StartupTest = AppTest;

TEST_F(StartupTest, WithoutSettingsFileSaysSoAndEndsBeforeAnyWindow) {
    writeEnglish();
    messages_.expect(MessageResult::Ok, "Can not find the file setting.ini!");
    EXPECT_FALSE(start());
    ASSERT_EQ(messages_.asked().size(), 1u);
    const MessageStyle style = messages_.asked()[0].style;
    EXPECT_EQ(style.icon, MessageIcon::Stop);
    EXPECT_EQ(style.buttons, MessageButtons::Ok);
    EXPECT_EQ(style.owner, MessageOwner::Application);
    EXPECT_EQ(app().mainFrame(), nullptr);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

TEST_F(StartupTest, OpensTheWindowWithTheLanguageTitleAndAnEmptyDocumentWithoutQuestion) {
    writeSettings("[setup]\nlanguage=english\n");
    writeEnglish();
    ASSERT_TRUE(start());
    ASSERT_NE(app().mainFrame(), nullptr);
    EXPECT_TRUE(app().mainFrame()->isVisible());
    EXPECT_EQ(app().mainFrame()->windowTitle(), QString(kTitleEnglish));
    // At least the classic size, and large enough for the whole form.
    const QSize frame = app().mainFrame()->size();
    EXPECT_GE(frame.width(), 900);
    EXPECT_GE(frame.height(), 650);
    QWidget* form = app().mainFrame()->view();
    ASSERT_NE(form, nullptr);
    // All of the form in view, in each direction the screen has room for.
    const QSize room = app().mainFrame()->screen()->availableGeometry().size();
    QWidget* client = form->parentWidget();  // the scroll area's viewport
    if (frame.width() < room.width()) {
        EXPECT_GE(client->width(), form->minimumWidth());
    }
    if (frame.height() < room.height()) {
        EXPECT_GE(client->height(), form->minimumHeight());
    }
    EXPECT_TRUE(app().document()->pathName().empty());
    EXPECT_FALSE(app().document()->IsModified());
    EXPECT_FALSE(app().skipClearPrompt());  // the quiet New used it up
    EXPECT_EQ(languagePath(), file("english.lang"));
    // The form's initial update retitled the menu.
    EXPECT_EQ(app().mainFrame()->menuBar()->actions()[0]->text(), QString("&File"));
}

TEST_F(StartupTest, MissingLanguageFileShowsNotFound) {
    writeSettings("[setup]\nlanguage=english\n");  // but no english.lang
    ASSERT_TRUE(start());
    EXPECT_EQ(app().mainFrame()->windowTitle(), QString("Not Found"));
    EXPECT_EQ(app().mainFrame()->menuBar()->actions()[0]->text(), QString("Not Found"));
}

TEST_F(StartupTest, SettingsWithoutSetupSectionTakeLocaleLanguageAndPortOne) {
    writeSettings("[ModelInfo]\nFreq0=a\n");
    writeEnglish();
    ASSERT_TRUE(start());
    EXPECT_EQ(languagePath(), file("english.lang"));
    EXPECT_EQ(app().mainFrame()->portPane()->text(), QString("COM1"));
}

TEST_F(StartupTest, PortPaneShowsTheConfiguredPortAndFitsLongNumbers) {
    writeSettings("[setup]\ncom=12\n");
    writeEnglish();
    ASSERT_TRUE(start());
    QLabel* pane = app().mainFrame()->portPane();
    EXPECT_EQ(pane->text(), QString("COM12"));
    EXPECT_GE(pane->width(), pane->fontMetrics().horizontalAdvance("COM12"));
    app().showPortInStatusBar(255);
    EXPECT_EQ(pane->text(), QString("COM255"));
}

TEST_F(StartupTest, DataFileOnTheCommandLineOpensWithoutClearQuestion) {
    writeSettings("[setup]\nlanguage=english\n");
    writeEnglish();
    const auto data = writeDataFile("radio.836", 0x5A);
    ASSERT_TRUE(start({QString::fromStdString(data.string())}));
    EXPECT_EQ(app().document()->pathName(), data);
    EXPECT_EQ(app().document()->image().bytes[0x3E0], 0x5A);
    // The document's name never reaches the title.
    EXPECT_EQ(app().mainFrame()->windowTitle(), QString(kTitleEnglish));
}

TEST_F(StartupTest, UnreadableCommandLineFileEndsTheProgramAfterItsMessage) {
    writeSettings("[setup]\nlanguage=english\n");
    writeEnglish();
    messages_.expect(MessageResult::Ok);
    EXPECT_FALSE(start({QString::fromStdString(file("missing.836").string())}));
    EXPECT_EQ(messages_.asked().at(0).style.icon, MessageIcon::Stop);
}

TEST_F(StartupTest, TooltipsComeFromTheLanguageFileCutTo19Characters) {
    writeSettings("[setup]\nlanguage=english\n");
    writeEnglish(
        "IDS_TIP_57601=\xE6\x89\x93\xE5\xBC\x80"
        "abcdefghijklmnopqrstuvwxyz0123\n");
    ASSERT_TRUE(start());
    struct Case {
        int id;
        const char* tip;
    };
    const Case cases[] = {
        {ID_FILE_NEW, "Make a new radio im"},  // 22 -> 19
        {ID_FILE_OPEN,
         "\xE6\x89\x93\xE5\xBC\x80"
         "abcdefghijklmnopq"},  // characters, not bytes
        {ID_FILE_SAVE, "Not Found"},
        {0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CMainFrame::toolTipText(c.id), QString::fromUtf8(c.tip)) << c.id;
    }
    // Hovering the button shows it.
    QWidget* button = app().mainFrame()->toolBar()->widgetForAction(
        app().mainFrame()->toolbarAction(ID_FILE_NEW));
    ASSERT_NE(button, nullptr);
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    EXPECT_TRUE(QApplication::sendEvent(button, &hover));
    EXPECT_EQ(QToolTip::text(), QString("Make a new radio im"));
    // Other widgets keep tooltips of their own.
    QLineEdit other;
    other.setToolTip("/dev/ttyUSB0");
    other.show();
    QHelpEvent otherHover(QEvent::ToolTip, QPoint(2, 2), other.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&other, &otherHover);
    EXPECT_EQ(QToolTip::text(), QString("/dev/ttyUSB0"));
}

TEST_F(StartupTest, TitleStaysTheProgramNameThroughDocumentCommands) {
    writeSettings("[setup]\nlanguage=english\n");
    writeEnglish();
    const auto data = writeDataFile("a.836", 1);
    ASSERT_TRUE(start());
    app().openDocumentFile(data);
    EXPECT_EQ(app().mainFrame()->windowTitle(), QString(kTitleEnglish));
    dialogs_.expect(FileDialogMode::Save, file("b.836"));
    app().onFileSaveAs();
    EXPECT_EQ(app().mainFrame()->windowTitle(), QString(kTitleEnglish));
}

TEST_F(StartupTest, EveryCommandIsEnabledAndOneWithoutHandlerIsDisabledEverywhere) {
    writeSettings("[setup]\nlanguage=english\n");
    writeEnglish();
    ASSERT_TRUE(start());
    CMainFrame& frame = *app().mainFrame();
    for (int id :
         {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT,
          ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, ID_APP_EXIT, ID_SETTING_LANGUAGE,
          ID_HELP_HELP, ID_APP_ABOUT, ID_PROGRAM_READ, ID_PROGRAM_WRITE, ID_SETTING_PORT}) {
        EXPECT_TRUE(frame.menuAction(id)->isEnabled()) << id;
    }
    frame.commands().remove(ID_FILE_PRINT);
    frame.refreshCommandStates();
    EXPECT_FALSE(frame.menuAction(ID_FILE_PRINT)->isEnabled());
    EXPECT_FALSE(frame.toolbarAction(ID_FILE_PRINT)->isEnabled());
    EXPECT_FALSE(frame.runCommand(ID_FILE_PRINT));
}

TEST_F(StartupTest, KeysRunTheirCommands) {
    writeSettings("[setup]\nlanguage=english\n");
    writeEnglish();
    ASSERT_TRUE(start());
    CMainFrame& frame = *app().mainFrame();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    messages_.expect(MessageResult::Cancel, kWarnClear);
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    dialogs_.expect(FileDialogMode::Open, std::nullopt);
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    dialogs_.expect(FileDialogMode::Save, std::nullopt);  // Save of a new document asks a name
    QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
}

TEST_F(StartupTest, AcceleratorsComeBeforeTheKeysOfAFocusedEditField) {
    writeSettings("[setup]\nlanguage=english\n");
    writeEnglish();
    ASSERT_TRUE(start());
    CMainFrame& frame = *app().mainFrame();
    int portDialogs = 0;
    frame.commands().set(ID_SETTING_PORT, [&portDialogs] { ++portDialogs; });
    frame.refreshCommandStates();
    auto* edit = new QLineEdit("12345", frame.view());
    edit->show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(portDialogs, 1);  // Ctrl+C is the port dialog, not Copy
    // Keys the window does not handle still reach the field.
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_EQ(edit->text(), QString("x"));
}

TEST_F(StartupTest, HelpOpensTheChmBesideTheLanguageFileElseItsHtmlElseNothing) {
    writeSettings("[setup]\nlanguage=english\n");
    writeEnglish();
    ASSERT_TRUE(start());
    std::vector<QUrl> opened;
    app().mainFrame()->setUrlOpener([&opened](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    const auto help = [&] {
        opened.clear();
        app().mainFrame()->runCommand(ID_HELP_HELP);
        return opened.empty() ? QString() : opened.front().toLocalFile();
    };
    EXPECT_EQ(help(), QString());
    writeFile("english.html", "<html></html>");
    EXPECT_EQ(help(), QString::fromStdString(file("english.html").string()));
    writeFile("english.chm", "");
    EXPECT_EQ(help(), QString::fromStdString(file("english.chm").string()));
    EXPECT_EQ(app().mainFrame()->helpViewer(), nullptr);  // the desktop opened it
}

TEST_F(StartupTest, HelpTheDesktopCannotOpenIsShownInTheBuiltInViewer) {
    writeSettings("[setup]\nlanguage=english\n");
    writeEnglish("IDS_HELP_TITLE=Radio Help\nIDS_HELP_NOT_SHOWN=Cannot show %1\n");
    ASSERT_TRUE(start());
    app().mainFrame()->setUrlOpener([](const QUrl&) { return false; });
    struct Case {
        const char* writeName;  // the help file added before the command
        const char* content;
        const char* expected;  // in the viewer's text
    };
    const Case cases[] = {
        {"english.html", "<html><body><p>Reading a radio</p></body></html>", "Reading a radio"},
        // A page the viewer cannot read, with its HTML page beside it: the page.
        {"english.chm", "ITSF", "Reading a radio"},
    };
    for (const Case& c : cases) {
        writeFile(c.writeName, c.content);
        app().mainFrame()->runCommand(ID_HELP_HELP);
        HelpViewer* viewer = app().mainFrame()->helpViewer();
        ASSERT_NE(viewer, nullptr);
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_EQ(viewer->windowTitle(), QString("Radio Help"));
        EXPECT_TRUE(viewer->browser()->toPlainText().contains(c.expected)) << c.writeName;
    }
    // Only the unreadable page: it is named, never nothing.
    std::filesystem::remove(file("english.html"));
    app().mainFrame()->runCommand(ID_HELP_HELP);
    EXPECT_EQ(app().mainFrame()->helpViewer()->browser()->toPlainText(),
              QString::fromStdString("Cannot show " + file("english.chm").string()));
}

// The X11 key state says Num Lock through whichever modifier its key is on.
TEST(NumLockState, ModifierOfTheNumLockKeyFromTheServersMaps) {
    constexpr std::uint32_t kNumLock = 0xFF7F;
    constexpr int kFirst = 8;
    // Two key codes per modifier: Shift, Lock, Control, Mod1..Mod5.
    std::vector<std::uint8_t> modifiers(16, 0);
    std::vector<std::uint32_t> symbols(2 * 100, 0);  // key codes 8..107, two symbols each
    auto symbolsOf = [&](int keyCode) { return symbols.begin() + 2 * (keyCode - kFirst); };
    struct Case {
        const char* name;
        std::function<void()> setUp;
        std::optional<std::uint16_t> mask;
    };
    const Case cases[] = {
        {"on Mod2", [&] { modifiers[2 * 4] = 77, symbolsOf(77)[0] = kNumLock; }, 0x10},
        {"second symbol, on Mod3, second slot",
         [&] { modifiers[2 * 5 + 1] = 90, symbolsOf(90)[1] = kNumLock; }, 0x20},
        {"key on no modifier", [&] { symbolsOf(77)[0] = kNumLock; }, std::nullopt},
        {"modifier key below the first key code", [&] { modifiers[2 * 4] = 5; }, std::nullopt},
        {"key code past the symbols", [&] { modifiers[2 * 4] = 200; }, std::nullopt},
    };
    for (const Case& c : cases) {
        std::fill(modifiers.begin(), modifiers.end(), 0);
        std::fill(symbols.begin(), symbols.end(), 0);
        c.setUp();
        EXPECT_EQ(numLockModifierMask(modifiers, 2, symbols, 2, kFirst), c.mask) << c.name;
    }
    EXPECT_EQ(numLockModifierMask(modifiers, 0, symbols, 2, kFirst), std::nullopt);
    EXPECT_EQ(numLockModifierMask({}, 2, symbols, 2, kFirst), std::nullopt);
}

TEST(NumLockState, LedsInSysfsAnyLitNumLockMeansOn) {
    QTemporaryDir leds;
    const std::filesystem::path root = leds.path().toStdString();
    EXPECT_EQ(numLockLedState(root / "missing"), std::nullopt);
    EXPECT_EQ(numLockLedState(root), std::nullopt);
    for (const auto& [name, value] :
         {std::pair{"input3::numlock", "0"}, std::pair{"input3::capslock", "1"}}) {
        std::filesystem::create_directories(root / name);
        std::ofstream(root / name / "brightness") << value;
    }
    EXPECT_EQ(numLockLedState(root), false);
    std::filesystem::create_directories(root / "input9::numlock");
    std::ofstream(root / "input9::numlock" / "brightness") << "1";
    EXPECT_EQ(numLockLedState(root), true);
}

TEST_F(StartupTest, DestroyingTheWindowRunsItsDestroyHook) {
    int calls = 0;
    auto frame = std::make_unique<CMainFrame>();
    frame->setDestroyHook([&calls] { ++calls; });
    frame.reset();
    EXPECT_EQ(calls, 1);
}

TEST_F(StartupTest, FrameShrinksToFitTheFormButNeverGrows) {
    struct Case {
        QSize form;
        bool fits;
    };
    const Case cases[] = {{{300, 200}, true}, {{2000, 1500}, false}, {{300, 1500}, false}};
    for (const Case& c : cases) {
        CMainFrame frame;
        frame.placeOnScreen();
        auto* form = new QWidget;
        form->setMinimumSize(c.form);
        frame.setView(form);
        frame.shrinkToFitView();
        EXPECT_LE(frame.width(), 900);
        EXPECT_LE(frame.height(), 650);
        if (c.fits) {
            EXPECT_LT(frame.width(), 900);
            frame.show();
            EXPECT_GE(form->width(), c.form.width());  // all of the form in view
            EXPECT_GE(form->height(), c.form.height());
        } else {
            EXPECT_EQ(frame.height(), 650);
        }
    }
}

TEST_F(StartupTest, FirstFitGrowsTheFrameToTheWholeFormWithinTheScreenThenOnlyShrinks) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        QSize form;
        bool wholeFormShows;
    };
    const Case cases[] = {
        {{300, 200}, true},                                      // the start size stays
        {{screen.width() - 150, screen.height() - 150}, true},   // grows to the form
        {{screen.width() + 400, screen.height() + 400}, false},  // stops at the screen
    };
    for (const Case& c : cases) {
        CMainFrame frame;
        frame.placeOnScreen();
        auto* form = new QWidget;
        form->setMinimumSize(c.form);
        frame.setView(form);
        frame.fitToView();
        EXPECT_GE(frame.width(), 900);
        EXPECT_GE(frame.height(), 650);
        EXPECT_LE(frame.width(), std::max(900, screen.width()));
        EXPECT_LE(frame.height(), std::max(650, screen.height()));
        EXPECT_LE(std::abs(frame.geometry().center().x() - screen.center().x()), 1);
        const QSize first = frame.size();
        frame.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
        if (c.wholeFormShows) {
            EXPECT_GE(form->parentWidget()->width(), c.form.width());
            EXPECT_GE(form->parentWidget()->height(), c.form.height());
        }
        // After New or Open the frame keeps what the user made of it, or shrinks.
        frame.resize(first + QSize(50, 50));
        frame.fitToView();
        EXPECT_LE(frame.width(), first.width() + 50);
    }
}

TEST_F(StartupTest, MenuShowsTemplateCaptionsUntilRetitled) {
    CMainFrame frame;
    const QList<QAction*> menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[0]->text(), QString("文件(&F)"));
    EXPECT_EQ(menus[1]->text(), QString("编辑(&E)"));
    EXPECT_EQ(menus[2]->text(), QString("编程(&P)"));
    EXPECT_EQ(menus[4]->text(), QString("帮助(&H)"));
    EXPECT_EQ(frame.menuAction(ID_FILE_NEW)->text(), QString("新建(&N)\tCtrl+N"));
    EXPECT_EQ(frame.menuAction(ID_FILE_MRU_FILE1)->text(), QString("Recent File"));
    EXPECT_FALSE(frame.menuAction(ID_FILE_MRU_FILE1)->isEnabled());
}

}  // namespace
}  // namespace qzm::test
