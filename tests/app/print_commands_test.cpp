// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/main_frame.h"
#include "app_fixture.h"
#include "platform/command_ids.h"
#include "radio/radio_image.h"
#include "radio/zavo_doc.h"

namespace qzm::test {
namespace {

// The program's own language files, so every print text is there.
class PrintCommandsTest : public AppTest {
  protected:
    void SetUp() override {
        const std::filesystem::path shipped = std::filesystem::path(QZM_TEST_SOURCE_DIR) / "res";
        for (const char* name : {"english.lang", "chinese.lang"}) {
            std::filesystem::copy_file(shipped / name, file(name));
        }
        writeSettings("[setup]\nlanguage=english\n");
        ASSERT_TRUE(start());
    }

    // Runs `command`; `onDialog` gets the modal dialog it opens and must close
    // it.  False when no dialog came within five seconds.
    bool withModalDialog(const std::function<void()>& command,
                         const std::function<void(QWidget*)>& onDialog) {
        bool seen = false;
        int tries = 0;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                poll.stop();
                seen = true;
                onDialog(dialog);
            } else if (++tries > 500) {
                poll.stop();
            }
        });
        poll.start();
        command();
        return seen;
    }

    void printToFile(const QString& path) {
        app().printer().setOutputFormat(QPrinter::PdfFormat);
        app().printer().setOutputFileName(path);
    }
    QString outputPath(const char* name) const {
        return QString::fromStdString(file(name).string());
    }
    static bool isPdf(const QString& path) {
        QFile pdf(path);
        return pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-";
    }
};

TEST_F(PrintCommandsTest, MenuItemsToolbarButtonAndKeyAreEnabled) {
    CMainFrame* frame = app().mainFrame();
    for (const int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP}) {
        ASSERT_NE(frame->menuAction(id), nullptr) << id;
        EXPECT_TRUE(frame->menuAction(id)->isEnabled()) << id;
    }
    ASSERT_NE(frame->toolbarAction(ID_FILE_PRINT), nullptr);
    EXPECT_TRUE(frame->toolbarAction(ID_FILE_PRINT)->isEnabled());
    EXPECT_TRUE(frame->commands().has(ID_FILE_PRINT_DIRECT));
    EXPECT_EQ(frame->menuAction(ID_FILE_PRINT)->text(), QString("&Print...\tCtrl+P"));

    // Ctrl+P opens the print dialog.
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    EXPECT_TRUE(withModalDialog([&] { QTest::keyClick(frame, Qt::Key_P, Qt::ControlModifier); },
                                [&](QWidget* dialog) {
                                    EXPECT_NE(qobject_cast<QPrintDialog*>(dialog), nullptr);
                                    qobject_cast<QDialog*>(dialog)->reject();
                                }));
}

TEST_F(PrintCommandsTest, PrintOffersOnePageAndPrintsToTheChosenFile) {
    const QString path = outputPath("printed.pdf");
    printToFile(path);
    EXPECT_TRUE(withModalDialog([&] { app().mainFrame()->runCommand(ID_FILE_PRINT); },
                                [&](QWidget* widget) {
                                    auto* dialog = qobject_cast<QPrintDialog*>(widget);
                                    ASSERT_NE(dialog, nullptr);
                                    EXPECT_EQ(dialog->windowTitle(), QString("Print"));
                                    EXPECT_EQ(dialog->minPage(), 1);
                                    EXPECT_EQ(dialog->maxPage(), 1);
                                    dialog->accept();
                                }));
    EXPECT_TRUE(isPdf(path));
}

TEST_F(PrintCommandsTest, CancelledPrintDialogPrintsNothing) {
    const QString path = outputPath("never.pdf");
    printToFile(path);
    EXPECT_TRUE(withModalDialog([&] { app().mainFrame()->runCommand(ID_FILE_PRINT); },
                                [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); }));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(PrintCommandsTest, DirectPrintUsesTheCurrentPrinterWithoutDialog) {
    const QString path = outputPath("direct.pdf");
    printToFile(path);
    EXPECT_TRUE(app().mainFrame()->runCommand(ID_FILE_PRINT_DIRECT));
    EXPECT_TRUE(isPdf(path));
}

TEST_F(PrintCommandsTest, APrinterThatCannotStartIsReported) {
    printToFile(outputPath("no-such-folder/page.pdf"));
    messages_.expect(MessageResult::Ok, "could not be printed");
    EXPECT_TRUE(app().mainFrame()->runCommand(ID_FILE_PRINT_DIRECT));
    ASSERT_EQ(messages_.asked().size(), 1u);
    EXPECT_EQ(messages_.asked()[0].style.icon, MessageIcon::Stop);
}

TEST_F(PrintCommandsTest, PreviewShowsTheOnePageOneAtATime) {
    EXPECT_TRUE(withModalDialog([&] { app().mainFrame()->runCommand(ID_FILE_PRINT_PREVIEW); },
                                [&](QWidget* widget) {
                                    auto* dialog = qobject_cast<QPrintPreviewDialog*>(widget);
                                    ASSERT_NE(dialog, nullptr);
                                    EXPECT_EQ(dialog->windowTitle(), QString("Print Preview"));
                                    auto* pages = dialog->findChild<QPrintPreviewWidget*>();
                                    ASSERT_NE(pages, nullptr);
                                    EXPECT_EQ(pages->viewMode(),
                                              QPrintPreviewWidget::SinglePageView);
                                    pages->updatePreview();
                                    EXPECT_EQ(pages->pageCount(), 1);
                                    dialog->reject();
                                }));
}

TEST_F(PrintCommandsTest, ThePreviewsOwnPrintButtonPrintsThePage) {
    const QString path = outputPath("from-preview.pdf");
    printToFile(path);
    EXPECT_TRUE(withModalDialog([&] { app().mainFrame()->runCommand(ID_FILE_PRINT_PREVIEW); },
                                [&](QWidget* preview) {
                                    QAction* print = nullptr;
                                    for (QAction* action : preview->findChildren<QAction*>()) {
                                        if (action->text() == QStringLiteral("Print")) {
                                            print = action;
                                        }
                                    }
                                    ASSERT_NE(print, nullptr);
                                    // The button asks with the print dialog, then prints and closes
                                    // the preview.
                                    const bool asked = withModalDialog(
                                        [&] { print->trigger(); },
                                        [](QWidget* dialog) {
                                            ASSERT_NE(qobject_cast<QPrintDialog*>(dialog), nullptr);
                                            qobject_cast<QDialog*>(dialog)->accept();
                                        });
                                    EXPECT_TRUE(asked);
                                    if (preview->isVisible()) {
                                        qobject_cast<QDialog*>(preview)->reject();
                                    }
                                }));
    EXPECT_TRUE(isPdf(path));
}

TEST_F(PrintCommandsTest, PrintSetupKeepsItsChoiceForTheFollowingPrints) {
    QPrinter* before = &app().printer();
    const QString path = outputPath("chosen.pdf");
    printToFile(path);
    app().printer().setPageOrientation(QPageLayout::Landscape);
    EXPECT_TRUE(withModalDialog([&] { app().mainFrame()->runCommand(ID_FILE_PRINT_SETUP); },
                                [&](QWidget* widget) {
                                    auto* dialog = qobject_cast<QPrintDialog*>(widget);
                                    ASSERT_NE(dialog, nullptr);
                                    EXPECT_EQ(dialog->windowTitle(), QString("Print Setup"));
                                    auto* box = dialog->findChild<QDialogButtonBox*>();
                                    ASSERT_NE(box, nullptr);
                                    EXPECT_EQ(box->button(QDialogButtonBox::Ok)->text(),
                                              QString("OK"));
                                    dialog->accept();
                                }));
    EXPECT_FALSE(QFile::exists(path));  // set-up prints nothing
    EXPECT_EQ(&app().printer(), before);
    EXPECT_EQ(app().printer().outputFileName(), path);
    EXPECT_EQ(app().printer().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_TRUE(app().mainFrame()->runCommand(ID_FILE_PRINT_DIRECT));
    EXPECT_TRUE(isPdf(path));
}

// Saves the preview in both languages for a look:
//   QZM_SCREENSHOT_DIR=/tmp/shots app_tests --gtest_also_run_disabled_tests
//       --gtest_filter='*PreviewScreenshot*'
TEST_F(PrintCommandsTest, DISABLED_PreviewScreenshot) {
    const QString folder = qEnvironmentVariable("QZM_SCREENSHOT_DIR", QStringLiteral("."));
    for (const char* language : {"english", "chinese"}) {
        writeSettings(std::string("[setup]\nlanguage=") + language + "\n");
        restart();
        RadioImage& image = app().document()->image();
        for (const int n : {1, 2, 5, 9, 16}) {
            image.setFrequencyText(n, ChannelSide::Receive, "446.00625");
            image.setFrequencyText(n, ChannelSide::Transmit, "446.10625");
            image.setToneText(n, ChannelSide::Receive, "88.5");
        }
        app().document()->onImageReplaced();
        EXPECT_TRUE(
            withModalDialog([&] { app().mainFrame()->runCommand(ID_FILE_PRINT_PREVIEW); },
                            [&](QWidget* widget) {
                                widget->resize(1000, 1300);
                                if (auto* pages = widget->findChild<QPrintPreviewWidget*>()) {
                                    pages->updatePreview();
                                    pages->fitToWidth();
                                }
                                QApplication::processEvents();
                                widget->grab().save(folder + "/print-preview-" + language + ".png");
                                qobject_cast<QDialog*>(widget)->reject();
                            }));
        EXPECT_TRUE(withModalDialog([&] { app().mainFrame()->runCommand(ID_FILE_PRINT_SETUP); },
                                    [&](QWidget* widget) {
                                        QApplication::processEvents();
                                        widget->grab().save(folder + "/print-setup-" + language +
                                                            ".png");
                                        qobject_cast<QDialog*>(widget)->reject();
                                    }));
    }
}

}  // namespace
}  // namespace qzm::test
