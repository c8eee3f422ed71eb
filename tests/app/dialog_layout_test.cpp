// SPDX-License-Identifier: GPL-3.0-or-later
// Every dialog in both shipped languages: no caption cut, and Tab walks the
// controls as they are laid out.  A second run does the same at scale 2.
#include <functional>
#include <memory>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "app/about_dialog.h"
#include "app/main_frame.h"
#include "app/open_backup_dialog.h"
#include "app_fixture.h"
#include "dialog_checks.h"
#include "exchange/import_preview.h"
#include "exchange/qt/import_preview_dialog.h"
#include "lang/qt/language_dialog.h"
#include "lang/text_lookup.h"
#include "link/qt/doctor_report_dialog.h"
#include "link/qt/port_dialog.h"
#include "link/qt/transfer_dialog.h"
#include "link/transfer_job.h"
#include "platform/program_paths.h"
#include "platform/qt/tab_order.h"
#include "radio/zavo_doc.h"
#include "safety/settings_transfer_safety.h"

namespace qzm::test {
namespace {

class DialogLayoutTest : public AppTest {
  protected:
    void SetUp() override {
        writeSettings("[setup]\nlanguage=english\ncom=1\nsearchcom=0\n");
        writeEnglish();
        ASSERT_TRUE(start());
    }
};

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>(DialogLayoutTest&, CZavoApp&)> make;
};

ImportPreview somePreview() {
    ImportPreview preview;
    ImportPreviewRow row;
    row.line = "2";
    row.location = "1";
    row.channel = "1";
    row.outcomeText = "taken";
    row.rxFrequency = "470.00000";
    preview.rows.push_back(row);
    preview.notes.push_back("a note about the file");
    preview.taken = 1;
    return preview;
}

TEST_F(DialogLayoutTest, EveryDialogShowsWholeCaptionsAndTabsInLayoutOrder) {
    SettingsTransferSafety safety(settingsPath(), currentLanguageTexts());
    const DialogCase cases[] = {
        {"about", [](DialogLayoutTest&,
                     CZavoApp& app) { return std::make_unique<AboutDialog>(app.mainFrame()); }},
        {"language",
         [](DialogLayoutTest&, CZavoApp& app) {
             return std::make_unique<LanguageDialog>(app, app.mainFrame());
         }},
        {"port",
         [](DialogLayoutTest&, CZavoApp& app) {
             return std::make_unique<PortDialog>(app, app.port(), app.mainFrame());
         }},
        {"read",
         [&safety](DialogLayoutTest&, CZavoApp& app) {
             return std::make_unique<TransferDialog>(app, *app.document(), app.sharedPort(),
                                                     settingsPath(), kDirectionRead, safety,
                                                     app.mainFrame());
         }},
        {"write",
         [&safety](DialogLayoutTest&, CZavoApp& app) {
             auto dialog = std::make_unique<TransferDialog>(app, *app.document(), app.sharedPort(),
                                                            settingsPath(), kDirectionWrite, safety,
                                                            app.mainFrame());
             dialog->showText(QString::fromStdString(lookupText("IDS_BACKUP_READFAIL")));
             return dialog;
         }},
        {"doctor report",
         [](DialogLayoutTest&, CZavoApp& app) {
             return std::make_unique<DoctorReportDialog>(
                 QStringLiteral("Doctor"), QStringLiteral("line one\nline two"), app.mainFrame());
         }},
        {"import preview",
         [](DialogLayoutTest&, CZavoApp& app) {
             return std::make_unique<ImportPreviewDialog>(
                 somePreview(), QStringLiteral("channels.csv"), app.mainFrame());
         }},
        {"open backup",
         [](DialogLayoutTest&, CZavoApp& app) {
             BackupListing broken;
             broken.entry.path = "2026-12-01_09-00-00-read.836";
             broken.entry.stamp = "2026-12-01_09-00-00";
             broken.problem = lookupText("IDS_BACKUP_CUT_SHORT");
             BackupListing good;
             good.entry.path = "2026-12-02_09-00-00-before-write.836";
             good.entry.stamp = "2026-12-02_09-00-00";
             good.entry.kind = BackupKind::BeforeWrite;
             good.bandIndex = 0;
             good.programmedChannels = 16;
             return std::make_unique<OpenBackupDialog>(std::vector<BackupListing>{good, broken},
                                                       std::vector<std::string>{"band"},
                                                       app.mainFrame());
         }},
    };
    for (const char* language : {"english", "chinese"}) {
        setLanguagePath(std::filesystem::path(QZM_TEST_PROGRAM_DIR) /
                        (std::string(language) + ".lang"));
        for (const DialogCase& c : cases) {
            SCOPED_TRACE(std::string(language) + " " + c.name);
            std::unique_ptr<QDialog> dialog = c.make(*this, app());
            dialog->show();
            QApplication::processEvents();
            for (const std::string& fault : cutCaptions(*dialog)) {
                ADD_FAILURE() << "cut: " << fault;
            }
            EXPECT_EQ(tabChain(*dialog), layoutOrder(*dialog));
            dialog->hide();
        }
    }
}

// The checks themselves see a cut caption and a Tab order against the layout.
TEST(DialogChecks, FindACutCaptionAndATabOrderAgainstTheLayout) {
    QDialog dialog;
    auto* label = new QLabel(QStringLiteral("A caption far too long for its place"), &dialog);
    label->setGeometry(10, 10, 40, 20);
    QPushButton* buttons[3] = {};
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new QPushButton(QStringLiteral("Button %1").arg(i), &dialog);
        buttons[i]->setGeometry(10, 40 + 30 * i, 80, 25);
    }
    // Tab would go 0, 2, 1: round the circle against the layout, wherever it starts.
    QWidget::setTabOrder(buttons[0], buttons[2]);
    QWidget::setTabOrder(buttons[2], buttons[1]);
    dialog.resize(200, 140);
    dialog.show();
    const std::vector<std::string> cut = cutCaptions(dialog);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_NE(cut[0].find("far too long"), std::string::npos);
    EXPECT_NE(tabChain(dialog), layoutOrder(dialog));
    orderTabsByPosition(dialog);
    EXPECT_EQ(tabChain(dialog), layoutOrder(dialog));
    EXPECT_EQ(layoutOrder(dialog).front(), "QPushButton \"Button 0\"");
}

}  // namespace
}  // namespace qzm::test
