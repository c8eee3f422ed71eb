// SPDX-License-Identifier: GPL-3.0-or-later
// File > Import channels and Export channels in the running application: the
// preview with OK and Cancel, and the file type deciding the export format.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "../exchange/chirp_test_rows.h"
#include "app/main_frame.h"
#include "app_fixture.h"
#include "editor/qt/zavo_view.h"
#include "exchange/qt/import_preview_dialog.h"
#include "platform/command_ids.h"
#include "radio/document_view.h"
#include "radio/zavo_doc.h"

namespace qzm::test {
namespace {

// Counts the refreshes the document asks for.
struct RefreshCounter : DocumentView {
    void OnUpdate() override { ++count; }
    int count = 0;
};

// What the preview showed, read while it is open.
struct PreviewSeen {
    bool shown = false;
    bool okEnabled = false;
    QString summary;
    std::vector<QStringList> rows;
    QStringList notes;
};

class ChannelExchangeTest : public AppTest {
  protected:
    void SetUp() override {
        writeSettings("[setup]\nlanguage=english\n");
        writeEnglish(
            "IDS_OFF=Off\nIDS_IMPORT_TAKEN=Taken\nIDS_IMPORT_REPAIRED=Repaired\n"
            "IDS_IMPORT_SKIPPED=Skipped\nIDS_IMPORT_SUMMARY=%1: %2 taken, %3 repaired, %4 "
            "skipped\nIDS_CHIRP_LOCATION=Location %1 is not a channel\n"
            "IDS_IMPORT_REFUSED=Cannot import %1: %2\nIDS_ERROR=Error\n"
            "IDS_FILETYPE_CHANNELS=Table (*.csv)\nIDS_FILETYPE_CHIRP=CHIRP (*.csv)\n");
        ASSERT_TRUE(start());
        doc().addView(refreshes_);
        doc().image().setFrequencyText(5, ChannelSide::Receive, "430.00000");
        doc().image().setFrequencyText(5, ChannelSide::Transmit, "430.00000");
        doc().SetModifiedFlag(false);
    }
    void TearDown() override { doc().removeView(refreshes_); }

    CZavoDoc& doc() { return *app().document(); }

    // Runs Import channels on `csv`; the preview, when it comes, is read and
    // then closed with OK (accept) or Cancel.
    PreviewSeen importWith(const std::string& csv, bool accept, bool expectPreview = true) {
        writeFile("list.csv", csv);
        dialogs_.expect(FileDialogMode::Open, file("list.csv"));
        PreviewSeen seen;
        // Looks for the preview each time the event loop turns, a bounded number of times.
        QTimer poll;
        int turns = 0;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<ImportPreviewDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible()) {
                if (++turns > 500) {
                    poll.stop();
                    ADD_FAILURE() << "the preview never came";
                }
                return;
            }
            poll.stop();
            seen.shown = true;
            // QZM_SCREENSHOT_DIR=... keeps a picture of the preview for a look at its layout.
            if (const char* folder = std::getenv("QZM_SCREENSHOT_DIR")) {
                dialog->grab().save(QString(folder) + "/import-preview.png");
            }
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            seen.okEnabled = buttons->button(QDialogButtonBox::Ok)->isEnabled();
            seen.summary = dialog->findChild<QLabel*>("summary")->text();
            for (const QLabel* note : dialog->findChildren<QLabel*>("note")) {
                seen.notes << note->text();
            }
            const QTableWidget& table = *dialog->table();
            for (int r = 0; r < table.rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < table.columnCount(); ++c) {
                    cells << table.item(r, c)->text();
                }
                seen.rows.push_back(cells);
            }
            if (accept) {
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        if (expectPreview) {
            poll.start();
        }
        EXPECT_TRUE(app().mainFrame()->runCommand(ID_FILE_IMPORT_CHANNELS));
        return seen;
    }

    std::string readText(const std::string& name) {
        std::ifstream in(file(name), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    RefreshCounter refreshes_;
};

const std::string kList = kChirpHeader +
                          chirpRow({{"Location", "1"},
                                    {"Frequency", "446.500000"},
                                    {"Tone", "TSQL"},
                                    {"cToneFreq", "100.0"}}) +
                          chirpRow({{"Location", "2"}, {"Frequency", "446.507000"}}) +
                          chirpRow({{"Location", "30"}});

TEST_F(ChannelExchangeTest, PreviewShowsEveryRowAndOkAppliesWithOneRefresh) {
    const RadioImage before = doc().image();
    const PreviewSeen seen = importWith(kList, true);
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.okEnabled);
    EXPECT_TRUE(seen.summary.endsWith("list.csv: 1 taken, 1 repaired, 1 skipped"));
    ASSERT_EQ(seen.rows.size(), 3u);
    EXPECT_EQ(seen.rows[0].mid(0, 8),
              (QStringList{"2", "1", "1", "Taken", "446.50000", "100.0", "446.50000", "100.0"}));
    EXPECT_EQ(seen.rows[1][3], "Repaired");
    EXPECT_EQ(seen.rows[2][3], "Skipped");
    EXPECT_EQ(seen.rows[2][8], "Location 30 is not a channel");

    EXPECT_TRUE(doc().IsModified());
    EXPECT_EQ(refreshes_.count, 1);
    EXPECT_EQ(doc().frequencyText(1, ChannelSide::Receive), "446.50000");
    EXPECT_EQ(doc().frequencyText(2, ChannelSide::Receive), "446.50625");
    EXPECT_EQ(doc().frequencyText(5, ChannelSide::Receive), "430.00000");  // not in the file
    EXPECT_NE(doc().image().bytes, before.bytes);
}

TEST_F(ChannelExchangeTest, AnImportIsOneStepThatUndoGivesBack) {
    const DocumentSnapshot before = doc().snapshot();
    ASSERT_TRUE(importWith(kList, true).shown);
    EXPECT_EQ(doc().undoStep(), (EditStep{EditKind::ChirpImport, 1}));
    ASSERT_TRUE(doc().undo());
    EXPECT_TRUE(doc().snapshot() == before);
    EXPECT_FALSE(doc().IsModified());
}

TEST_F(ChannelExchangeTest, CancelChangesNothing) {
    const RadioImage before = doc().image();
    const PreviewSeen seen = importWith(kList, false);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(doc().image().bytes, before.bytes);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(refreshes_.count, 0);
}

TEST_F(ChannelExchangeTest, NothingToTakeOffersNoOkAndARefusedFileSaysWhy) {
    const PreviewSeen allSkipped = importWith(kChirpHeader + chirpRow({{"Location", "17"}}), false);
    EXPECT_TRUE(allSkipped.shown);
    EXPECT_FALSE(allSkipped.okEnabled);

    const RadioImage before = doc().image();
    messages_.expect(MessageResult::Ok, "Cannot import");
    const PreviewSeen refused = importWith("channel,rx_freq\n1,\"446\n", true, false);
    EXPECT_FALSE(refused.shown);
    EXPECT_NE(messages_.asked().back().text.find("list.csv:2: quoted field is not closed"),
              std::string::npos);
    EXPECT_EQ(doc().image().bytes, before.bytes);
    EXPECT_FALSE(doc().IsModified());
}

TEST_F(ChannelExchangeTest, WhatIsWrongWithAListIsSaidInTheWindowsLanguage) {
    writeEnglish(
        "IDS_IMPORT_REFUSED=%1 abgelehnt: %2\nIDS_ERROR=Fehler\n"
        "IDS_CSV_CHANNEL_TWICE=Kanal %1 doppelt (zuerst in Zeile %2)\n"
        "IDS_CSV_OFF_GRID=Kanal %1: %2 %3 liegt neben dem Raster, jetzt %4\n"
        "IDS_ERRNO_EISDIR=ein Ordner\n");
    restart();
    const std::string header =
        "channel,rx_freq,rx_tone,tx_freq,tx_tone,col5,narrow,high_power,col8,col9\n";
    messages_.expect(MessageResult::Ok);
    importWith(header + "3,440.00000,,,,0,0,0,0,0\n3,441.00000,,,,0,0,0,0,0\n", true, false);
    const std::string list = file("list.csv").string();
    EXPECT_EQ(messages_.asked().back().text,
              list + " abgelehnt: " + list + ":3: Kanal 3 doppelt (zuerst in Zeile 2)");

    const PreviewSeen seen = importWith(header + "4,440.00300,,,,0,0,0,0,0\n", false);
    ASSERT_TRUE(seen.shown);
    ASSERT_EQ(seen.notes.size(), 1);
    EXPECT_TRUE(
        seen.notes[0].startsWith("2: Kanal 4: rx_freq 440.00300 liegt neben dem Raster, "
                                 "jetzt 440."))
        << seen.notes[0].toStdString();

    std::filesystem::create_directory(file("folder.csv"));
    dialogs_.expect(FileDialogMode::Open, file("folder.csv"));
    messages_.expect(MessageResult::Ok);
    EXPECT_TRUE(app().mainFrame()->runCommand(ID_FILE_IMPORT_CHANNELS));
    const std::string folder = file("folder.csv").string();
    EXPECT_EQ(messages_.asked().back().text, folder + " abgelehnt: " + folder + ": ein Ordner");
}

TEST_F(ChannelExchangeTest, OwnTableImportPreviewsTheChangedChannels) {
    const PreviewSeen seen = importWith(
        "channel,rx_freq,rx_tone,tx_freq,tx_tone,col5,narrow,high_power,col8,col9\n"
        "3,440.00000,,440.00000,,0,1,1,1,1\n5,430.00000,,430.00000,,0,0,1,1,1\n",
        true);
    ASSERT_TRUE(seen.shown);
    ASSERT_EQ(seen.rows.size(), 1u);  // channel 5 stays as it is
    EXPECT_EQ(seen.rows[0][2], "3");
    EXPECT_EQ(doc().image().narrow(3), 1);
    EXPECT_TRUE(doc().IsModified());
}

TEST_F(ChannelExchangeTest, ExportFormatFollowsTheChosenFileType) {
    dialogs_.expect(FileDialogMode::Save, file("chirp.csv"), 1);
    ASSERT_TRUE(app().mainFrame()->runCommand(ID_FILE_EXPORT_CHANNELS));
    const FileDialogRequest& request = dialogs_.asked().back();
    ASSERT_EQ(request.fileTypes.size(), 2u);
    EXPECT_EQ(request.fileTypes[1].name, "CHIRP (*.csv)");
    const std::string chirp = readText("chirp.csv");
    EXPECT_TRUE(chirp.starts_with(kChirpHeader));
    EXPECT_NE(chirp.find("\r\n5,,430.000000,,0.000000,"), std::string::npos);

    dialogs_.expect(FileDialogMode::Save, file("own.csv"), 0);
    ASSERT_TRUE(app().mainFrame()->runCommand(ID_FILE_EXPORT_CHANNELS));
    EXPECT_TRUE(readText("own.csv").starts_with("channel,rx_freq,"));
    EXPECT_FALSE(doc().IsModified());
}

}  // namespace
}  // namespace qzm::test
