// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "editor/qt/zavo_view.h"
#include "link/serial_port.h"
#include "link_dialog_fixture.h"
#include "platform/command_ids.h"
#include "platform/qt/dialog_builder.h"

namespace qzm::test {
namespace {

constexpr int kBeepBox = 1023;
constexpr std::size_t kSpan = 0x3E0;  // the bytes that travel to and from the radio

QPushButton* okButton(const QWidget& dialog) {
    return findControl<QPushButton>(&dialog, IDOK);
}
QString textLine(const QWidget& dialog) {
    return findControl<QLabel>(&dialog, 1010)->text();
}

// What the radio holds: the document's defaults with the beep turned the other
// way, a name, and bytes beyond the span that must never arrive.
RadioImage radioContents(const RadioImage& document) {
    RadioImage image = document;
    image.setBeepEnabled(document.beepEnabled() ? 0 : 1);
    const char name[] = "RADIO";
    std::copy(name, name + 5, image.bytes.begin() + 0x3D3);
    std::fill(image.bytes.begin() + kSpan, image.bytes.end(), std::uint8_t{0x5A});
    return image;
}

bool sameSpan(const RadioImage& a, const RadioImage& b) {
    return std::equal(a.bytes.begin(), a.bytes.begin() + kSpan, b.bytes.begin());
}

class TransferDialogTest : public LinkDialogTest {};

TEST_F(TransferDialogTest, ReadFromTheMenuReplacesTheSpanAndRefreshesWithoutModifying) {
    RadioImage before = RadioImage::fresh();
    auto emulator = radio(fast(radioContents(before)));
    startWith("com=1\nsearchcom=0", {{1, emulator->slavePath()}});
    CZavoDoc& document = *app().document();
    document.image().bytes[kSpan] = 0x11;
    document.image().bytes[0xFFF] = 0x22;
    before = document.image();
    const RadioImage radioImage = emulator->image();
    ASSERT_NE(app().view()->checkBoxValue(kBeepBox), radioImage.beepEnabled() ? 1 : 0);

    QString title;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    });
    ASSERT_TRUE(app().mainFrame()->runCommand(ID_PROGRAM_READ));

    EXPECT_EQ(title, QString("Read from Radio"));
    EXPECT_TRUE(sameSpan(document.image(), radioImage));
    EXPECT_TRUE(std::equal(document.image().bytes.begin() + kSpan, document.image().bytes.end(),
                           before.bytes.begin() + kSpan));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(app().view()->checkBoxValue(kBeepBox), radioImage.beepEnabled() ? 1 : 0);
    EXPECT_FALSE(app().port().isOpen());
}

TEST_F(TransferDialogTest, AReadIsOneStepThatUndoGivesBack) {
    auto emulator = radio(fast(radioContents(RadioImage::fresh())));
    startWith("com=1\nsearchcom=0", {{1, emulator->slavePath()}});
    CZavoDoc& document = *app().document();
    document.change({EditKind::CheckBox, 1}, [&] { document.setBeepEnabled(1); });
    document.image().bytes[0x3F5] = 0x33;  // no field: only a snapshot brings it back
    const DocumentSnapshot before = document.snapshot();
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    });
    ASSERT_TRUE(app().mainFrame()->runCommand(ID_PROGRAM_READ));
    ASSERT_TRUE(sameSpan(document.image(), emulator->image()));
    EXPECT_EQ(document.undoStep(), (EditStep{EditKind::RadioRead, 1}));
    EXPECT_TRUE(document.IsModified());  // it was before the read
    ASSERT_TRUE(document.undo());
    EXPECT_TRUE(document.snapshot() == before);
    EXPECT_EQ(app().view()->checkBoxValue(kBeepBox), 1);
}

TEST_F(TransferDialogTest, WriteSendsTheDocumentAndOkStartsOneRunOnly) {
    auto emulator = radio(fast());
    // All 124 blocks, as a radio that misbehaves with short sessions needs them.
    startWith("com=1\nsearchcom=0\n[transfer]\nallblocks=1", {{1, emulator->slavePath()}});
    CZavoDoc& document = *app().document();
    document.image() = radioContents(document.image());

    auto dialog = transferDialog(kDirectionWrite);
    EXPECT_EQ(dialog->windowTitle(), QString("Write to Radio"));
    QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    const auto firstRun = dialog->job();
    ASSERT_NE(firstRun, nullptr);
    EXPECT_FALSE(okButton(*dialog)->isEnabled());
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_EQ(dialog->job(), firstRun);

    ASSERT_TRUE(waitClosed(*dialog));
    EXPECT_EQ(dialog->result(), TransferDialog::kEndedByItself);
    EXPECT_EQ(firstRun->status.load(), StatusWriteDone);
    EXPECT_EQ(emulator->completedWrites(), 1);
    EXPECT_TRUE(sameSpan(emulator->image(), document.image()));
    EXPECT_FALSE(app().port().isOpen());
}

struct FailureCase {
    const char* name;
    bool deviceMissing;
    bool silent;
    int identBytes;
    const char* expectedText;
    const char* expectedDetail;  // what happened on COM1, after its device
};

class TransferFailureTest : public TransferDialogTest,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(TransferFailureTest, EndsWithAStopMessageAndLeavesTheDocument) {
    const FailureCase& c = GetParam();
    sim::EmulatorConfig config = fast(radioContents(RadioImage::fresh()));
    config.silent = c.silent;
    config.identBytes = c.identBytes;
    auto emulator = radio(config);
    startWith("com=1\nsearchcom=0", {{1, c.deviceMissing ? nowhere(1) : emulator->slavePath()}});
    const RadioImage before = app().document()->image();

    messages_.expect(MessageResult::Ok, c.expectedText);
    auto dialog = transferDialog(kDirectionRead);
    QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    ASSERT_TRUE(waitClosed(*dialog));

    ASSERT_EQ(messages_.asked().size(), 1u);
    const auto& question = messages_.asked().front();
    EXPECT_EQ(question.caption, "Error");
    EXPECT_EQ(question.style.icon, MessageIcon::Stop);
    EXPECT_EQ(question.style.buttons, MessageButtons::Ok);
    const std::string device = c.deviceMissing ? nowhere(1) : emulator->slavePath();
    EXPECT_NE(question.text.find("COM1 (" + device + ")" + c.expectedDetail), std::string::npos)
        << question.text;
    EXPECT_EQ(app().document()->image().bytes, before.bytes);
    EXPECT_FALSE(app().port().isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, TransferFailureTest,
    ::testing::Values(FailureCase{"MissingDevice", true, false, 8, kNoAnswer, ": not found"},
                      FailureCase{"SilentRadio", false, true, 8, kNoAnswer,
                                  ", handshake: no answer"},
                      FailureCase{"ShortIdentification", false, false, 5, kWrongModel,
                                  ", identification: short answer, 5 of 8 bytes"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(TransferDialogTest, FailedReadStaysOpenAndOkTriesAgain) {
    sim::EmulatorConfig broken = fast(radioContents(RadioImage::fresh()));
    broken.badAddressBlock = 3;
    auto first = radio(broken);
    startWith("com=1\nsearchcom=0", {{1, first->slavePath()}});
    const RadioImage before = app().document()->image();

    auto dialog = transferDialog(kDirectionRead);
    QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    const auto firstRun = dialog->job();
    ASSERT_TRUE(QTest::qWaitFor([&] { return firstRun->finished.load(); }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return okButton(*dialog)->isEnabled(); }, 5000));
    EXPECT_TRUE(dialog->isVisible());
    // What failed, and where, follows the dialog's own text.
    EXPECT_EQ(textLine(*dialog), QString(kReadFailed) + "\nCOM1 (" +
                                     QString::fromStdString(first->slavePath()) +
                                     "), block 3 (address 0x0018): the answer was for "
                                     "another address");
    EXPECT_EQ(app().document()->image().bytes, before.bytes);
    EXPECT_FALSE(app().port().isOpen());
    // The text asks for OK: Enter presses it, not Cancel.
    EXPECT_TRUE(okButton(*dialog)->isDefault());
    EXPECT_EQ(dialog->focusWidget(), okButton(*dialog));
    EXPECT_FALSE(findControl<QPushButton>(dialog.get(), IDCANCEL)->isDefault());

    // The cable now reaches a radio that answers.
    auto second = radio(fast(radioContents(RadioImage::fresh())));
    writePorts("com=1\nsearchcom=0", {{1, second->slavePath()}});
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_NE(dialog->job(), firstRun);
    ASSERT_TRUE(waitClosed(*dialog));
    EXPECT_TRUE(sameSpan(app().document()->image(), second->image()));
    EXPECT_FALSE(app().document()->IsModified());
}

TEST_F(TransferDialogTest, PortPaneFollowsTheSearchAndTheFoundPortIsStored) {
    auto emulator = radio(fast(radioContents(RadioImage::fresh())));
    startWith("com=1\nsearchcom=1", {{1, nowhere(1)}, {2, emulator->slavePath()}});
    EXPECT_EQ(portPane(), QString("COM1"));

    auto dialog = transferDialog(kDirectionRead);
    QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    ASSERT_TRUE(waitClosed(*dialog));
    EXPECT_EQ(dialog->job()->status.load(), StatusReadDone);
    EXPECT_EQ(portPane(), QString("COM2"));
    EXPECT_EQ(storedPort(), 2);
}

// The search found a radio on another port and that radio then failed: the
// message names the port it failed on, not the configured one.
TEST_F(TransferDialogTest, FailureAfterTheSearchNamesThePortItHappenedOn) {
    sim::EmulatorConfig config = fast(radioContents(RadioImage::fresh()));
    config.identBytes = 5;
    auto emulator = radio(config);
    startWith("com=3\nsearchcom=1", {{2, emulator->slavePath()}, {3, nowhere(3)}});

    messages_.expect(MessageResult::Ok, kWrongModel);
    auto dialog = transferDialog(kDirectionRead);
    QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    ASSERT_TRUE(waitClosed(*dialog, 60000));

    ASSERT_EQ(messages_.asked().size(), 1u);
    const std::string& text = messages_.asked().front().text;
    EXPECT_NE(text.find("COM2 (" + emulator->slavePath() +
                        "), identification: short answer, 5 of 8 bytes"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("COM3"), std::string::npos) << text;
    EXPECT_EQ(storedPort(), 3);  // a radio that failed is not remembered
}

enum class Leave { CancelButton, CloseBox, Destroyed };

class TransferCancelTest : public TransferDialogTest,
                           public ::testing::WithParamInterface<Leave> {};

TEST_P(TransferCancelTest, LeavingDuringAReadStopsTheWorkerAndKeepsTheDocument) {
    // At the speed of the real line the read lasts long enough to leave it.
    sim::EmulatorConfig config = fast(radioContents(RadioImage::fresh()));
    config.lineSpeed = 1.0;
    auto emulator = radio(config);
    startWith("com=1\nsearchcom=0", {{1, emulator->slavePath()}});
    const RadioImage before = app().document()->image();

    auto dialog = transferDialog(kDirectionRead);
    QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return textLine(*dialog).endsWith('%'); }, 60000));
    const std::shared_ptr<const TransferJob> job = dialog->job();

    switch (GetParam()) {
        case Leave::CancelButton:
            QTest::mouseClick(findControl<QPushButton>(dialog.get(), IDCANCEL), Qt::LeftButton);
            break;
        case Leave::CloseBox:
            dialog->close();
            break;
        case Leave::Destroyed:
            dialog.reset();
            break;
    }
    if (dialog) {
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
    EXPECT_EQ(job->cancel.load(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return job->finished.load(); }, 5000));
    EXPECT_NE(job->status.load(), StatusReadDone);
    EXPECT_EQ(app().document()->image().bytes, before.bytes);
    EXPECT_FALSE(app().port().isOpen());
}

INSTANTIATE_TEST_SUITE_P(Ways, TransferCancelTest,
                         ::testing::Values(Leave::CancelButton, Leave::CloseBox, Leave::Destroyed));

}  // namespace
}  // namespace qzm::test
