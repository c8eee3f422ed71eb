// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "link/qt/doctor_report_dialog.h"
#include "link/qt/port_dialog.h"
#include "link/serial_port.h"
#include "link_dialog_fixture.h"
#include "platform/command_ids.h"
#include "platform/profile.h"
#include "platform/qt/dialog_builder.h"

namespace qzm::test {
namespace {

class PortDialogTest : public LinkDialogTest {
  protected:
    // COM1 and COM2 reach pseudo-terminals, COM3 to COM8 reach nothing.
    void startWithTwoPorts(const std::string& setup) {
        one_ = radio(fast());
        two_ = radio(fast());
        std::map<int, std::string> ports{{1, one_->slavePath()}, {2, two_->slavePath()}};
        for (int n = 3; n <= 8; ++n) {
            ports[n] = nowhere(n);
        }
        startWith(setup, ports);
    }
    std::string searchSetting() {
        return readProfileString(settingsPath(), "setup", "searchcom", "", 8);
    }

    std::unique_ptr<sim::RadioEmulator> one_;
    std::unique_ptr<sim::RadioEmulator> two_;
};

TEST_F(PortDialogTest, BusyAndMissingPortsAreGreyedAndOkStoresTheChoice) {
    startWithTwoPorts("com=2\nsearchcom=1");
    // Another program holds COM2; a transfer left COM1 open.
    SerialPort otherProgram{PortMap(settingsPath())};
    ASSERT_TRUE(otherProgram.open(2, 9600));
    ASSERT_TRUE(app().port().open(1, 9600));

    PortDialog dialog(app(), app().port(), app().mainFrame());
    dialog.show();
    EXPECT_FALSE(app().port().isOpen());

    EXPECT_TRUE(dialog.portButton(1)->isEnabled());
    EXPECT_FALSE(dialog.portButton(1)->isChecked());
    EXPECT_FALSE(dialog.portButton(2)->isEnabled());  // the configured port, busy:
    EXPECT_TRUE(dialog.portButton(2)->isChecked());   // still shown as the choice
    for (int n = 3; n <= 8; ++n) {
        EXPECT_FALSE(dialog.portButton(n)->isEnabled()) << "COM" << n;
        EXPECT_TRUE(dialog.portButton(n)->toolTip().contains("not found")) << "COM" << n;
    }
    EXPECT_TRUE(
        dialog.portButton(1)->toolTip().startsWith(QString::fromStdString(one_->slavePath())));
    EXPECT_TRUE(dialog.portButton(2)->toolTip().contains("in use"));

    QTest::mouseClick(dialog.portButton(1), Qt::LeftButton);
    QTest::mouseClick(findControl<QPushButton>(&dialog, IDOK), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(storedPort(), 1);
    EXPECT_EQ(portPane(), QString("COM1"));
    EXPECT_FALSE(app().port().isOpen());
}

TEST_F(PortDialogTest, PortBeyondTheButtonsIsKeptWhenNothingIsChosen) {
    startWithTwoPorts("com=12\nsearchcom=1");
    PortDialog dialog(app(), app().port(), app().mainFrame());
    dialog.show();
    for (int n = 1; n <= 8; ++n) {
        EXPECT_FALSE(dialog.portButton(n)->isChecked()) << "COM" << n;
    }
    QTest::mouseClick(findControl<QPushButton>(&dialog, IDOK), Qt::LeftButton);
    EXPECT_EQ(storedPort(), 12);
    EXPECT_EQ(portPane(), QString("COM12"));
}

TEST_F(PortDialogTest, SearchBoxIsHiddenAndStoresItsStateAtOnceEvenOnCancel) {
    startWithTwoPorts("com=1\nsearchcom=1");
    PortDialog dialog(app(), app().port(), app().mainFrame());
    dialog.show();
    QCheckBox* search = dialog.searchBox();
    EXPECT_FALSE(search->isVisible());
    EXPECT_TRUE(search->isChecked());

    search->click();
    EXPECT_EQ(searchSetting(), "0");
    search->click();
    search->click();
    EXPECT_EQ(searchSetting(), "0");
    QTest::mouseClick(findControl<QPushButton>(&dialog, IDCANCEL), Qt::LeftButton);
    EXPECT_EQ(searchSetting(), "0");
    EXPECT_EQ(storedPort(), 1);
}

TEST_F(PortDialogTest, DiagnoseShowsTheDoctorsReport) {
    startWithTwoPorts("com=1\nsearchcom=0");
    writeEnglish(
        "IDS_DOCTOR_BUTTON=Check...\nIDS_DOCTOR_TITLE=Why no answer?\n"
        "IDS_DOCTOR_MISSING_SET=Gone: %1 (COM%2).\n");
    PortDialog dialog(app(), app().port(), app().mainFrame());
    dialog.show();
    EXPECT_EQ(dialog.diagnoseButton()->text(), QString("Check..."));

    QString title;
    QString report;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<DoctorReportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        title = shown->windowTitle();
        report = shown->reportView()->toPlainText();
        EXPECT_TRUE(shown->reportView()->isReadOnly());
        shown->accept();
    });
    QTest::mouseClick(dialog.diagnoseButton(), Qt::LeftButton);
    EXPECT_EQ(title, QString("Why no answer?"));
    // The ports of the settings, each with its findings in the language file's words or
    // the built-in English ones.
    EXPECT_TRUE(report.contains(QString::fromStdString("COM1: " + one_->slavePath() + "\n")))
        << report.toStdString();
    EXPECT_TRUE(report.contains("  [i]  This is the port chosen for the radio.\n"));
    EXPECT_TRUE(report.contains(QString::fromStdString("COM2: " + two_->slavePath() + "\n")));
    EXPECT_TRUE(
        report.contains(QString::fromStdString("  [!!] Gone: " + nowhere(3) + " (COM3).\n")));
    EXPECT_TRUE(report.contains("\nSystem\n"));
    // The dialog itself stays as it was.
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(app().port().isOpen());
}

TEST_F(PortDialogTest, CtrlCRunsTheDialog) {
    startWithTwoPorts("com=1\nsearchcom=0");
    CMainFrame& frame = *app().mainFrame();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    bool shown = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        shown = true;
        EXPECT_EQ(dialog->windowTitle(), QString("Communication Port"));
        auto* two = findControl<QRadioButton>(dialog, 1002);
        QTest::mouseClick(two, Qt::LeftButton);
        QTest::mouseClick(findControl<QPushButton>(dialog, IDOK), Qt::LeftButton);
    });
    QTest::keyClick(&frame, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(shown);
    EXPECT_EQ(storedPort(), 2);
    EXPECT_EQ(portPane(), QString("COM2"));
}

}  // namespace
}  // namespace qzm::test

namespace qzm::test {
namespace {

// Pictures of both dialogs in each shipped language, for a look by eye:
// QZM_SCREENSHOT_DIR=/tmp/shots ./link_dialog_tests --gtest_also_run_disabled_tests
TEST_F(PortDialogTest, DISABLED_SaveScreenshots) {
    const QString folder = qEnvironmentVariable("QZM_SCREENSHOT_DIR");
    ASSERT_FALSE(folder.isEmpty());
    startWithTwoPorts("com=2\nsearchcom=0");
    for (const char* language : {"english", "chinese"}) {
        setLanguagePath(std::filesystem::path(QZM_TEST_PROGRAM_DIR) /
                        (std::string(language) + ".lang"));
        PortDialog ports(app(), app().port(), app().mainFrame());
        ports.show();
        EXPECT_TRUE(ports.grab().save(QString("%1/port-%2.png").arg(folder, language)));
        QTimer::singleShot(0, [&] {
            QWidget* report = QApplication::activeModalWidget();
            ASSERT_NE(report, nullptr);
            EXPECT_TRUE(report->grab().save(QString("%1/doctor-%2.png").arg(folder, language)));
            report->close();
        });
        ports.diagnoseButton()->click();

        auto transfer = transferDialog(kDirectionRead);
        EXPECT_TRUE(transfer->grab().save(QString("%1/transfer-%2.png").arg(folder, language)));
        QTest::mouseClick(findControl<QPushButton>(transfer.get(), IDOK), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return transfer->job()->progress.load() >= 30; }, 60000));
        QTest::qWait(50);
        EXPECT_TRUE(
            transfer->grab().save(QString("%1/transfer-%2-running.png").arg(folder, language)));
        transfer->reject();

        // A radio on COM1 that answers block 40 for another address.
        sim::EmulatorConfig broken = fast();
        broken.badAddressBlock = 40;
        auto faulty = radio(broken);
        writePorts("com=1\nsearchcom=0", {{1, faulty->slavePath()}});
        auto failed = transferDialog(kDirectionRead);
        QTest::mouseClick(findControl<QPushButton>(failed.get(), IDOK), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return findControl<QPushButton>(failed.get(), IDOK)->isEnabled(); }, 60000));
        EXPECT_TRUE(
            failed->grab().save(QString("%1/transfer-%2-failed.png").arg(folder, language)));
        failed->reject();
        writePorts("com=2\nsearchcom=0", {{1, one_->slavePath()}, {2, two_->slavePath()}});
    }
}

}  // namespace
}  // namespace qzm::test
