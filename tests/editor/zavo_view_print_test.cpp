// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>
#include <vector>

#include "editor_fixture.h"
#include "grid/grid_ctrl.h"
#include "radio/channel_record.h"
#include "recording_printer.h"

namespace qzm {
namespace {

using test::EditorTest;
using test::RecordedText;
using test::RecordingPrinter;

// Monday, 7 December 2026, 14:05 local time.
std::time_t mondayAfternoon() {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 7;
    local.tm_hour = 14;
    local.tm_min = 5;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

// The texts of one printed line, left to right.
struct PrintedLine {
    double baseline = 0;
    std::vector<RecordedText> runs;
    QString text() const {
        QString all;
        for (const RecordedText& run : runs) {
            all += run.text;
        }
        return all;
    }
    // The left end of the run that begins with `start`, or NaN.
    double xOf(const QString& start) const {
        for (const RecordedText& run : runs) {
            if (run.text.startsWith(start)) {
                return run.at.x();
            }
        }
        return std::nan("");
    }
};

struct PrintedPage {
    std::vector<PrintedLine> lines;
    std::vector<QLineF> gridLines;
};

class ViewPrintTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        initialUpdate();
        view->setPrintClock(mondayAfternoon);
    }

    void programChannels(std::initializer_list<int> channels) {
        for (const int n : channels) {
            image().setFrequencyText(n, ChannelSide::Receive, "446.00625");
            image().setFrequencyText(n, ChannelSide::Transmit, "446.00625");
        }
        view->OnUpdate();
    }

    PrintedPage print() {
        RecordingPrinter printer;
        EXPECT_TRUE(view->printOn(printer));
        std::vector<RecordedText> texts = printer.engine.texts;
        std::sort(texts.begin(), texts.end(), [](const RecordedText& a, const RecordedText& b) {
            return a.at.y() != b.at.y() ? a.at.y() < b.at.y() : a.at.x() < b.at.x();
        });
        PrintedPage page;
        for (const RecordedText& run : texts) {
            // Runs of one line share the baseline; fonts of other scripts
            // may sit a pixel or two apart.
            if (page.lines.empty() || run.at.y() - page.lines.back().baseline > 20) {
                page.lines.push_back({run.at.y(), {}});
            }
            page.lines.back().runs.push_back(run);
        }
        for (PrintedLine& line : page.lines) {
            std::sort(
                line.runs.begin(), line.runs.end(),
                [](const RecordedText& a, const RecordedText& b) { return a.at.x() < b.at.x(); });
        }
        page.gridLines = printer.engine.lines;
        return page;
    }

    // Device pixels per grid unit: the grid's lines span its 790 units.
    static double scaleOf(const PrintedPage& page, double* left, double* right) {
        *left = 1e9;
        *right = -1e9;
        for (const QLineF& line : page.gridLines) {
            *left = std::min({*left, line.x1(), line.x2()});
            *right = std::max({*right, line.x1(), line.x2()});
        }
        return (*right - *left) / 789.0;
    }

    // The distinct y of the horizontal grid lines, in grid units from the first.
    static std::vector<int> horizontalLineUnits(const PrintedPage& page, double scale) {
        std::vector<double> ys;
        for (const QLineF& line : page.gridLines) {
            if (std::abs(line.y1() - line.y2()) < 0.5 && std::abs(line.x1() - line.x2()) > 1) {
                ys.push_back(line.y1());
            }
        }
        std::sort(ys.begin(), ys.end());
        std::vector<int> units;
        for (const double y : ys) {
            const int unit = static_cast<int>(std::lround((y - ys.front()) / scale));
            if (units.empty() || units.back() != unit) {
                units.push_back(unit);
            }
        }
        return units;
    }
};

TEST_F(ViewPrintTest, ProgrammedChannelsFollowTheHeadingWithoutGaps) {
    programChannels({1, 5, 16});
    const PrintedPage page = print();
    // Date, five settings lines, heading, three channels.
    ASSERT_EQ(page.lines.size(), 10u);
    EXPECT_EQ(page.lines[7].runs.front().text, "1");
    EXPECT_EQ(page.lines[8].runs.front().text, "5");
    EXPECT_EQ(page.lines[9].runs.front().text, "16");
    EXPECT_TRUE(page.lines[8].text().contains("446.00625"));

    double left = 0;
    double right = 0;
    const double scale = scaleOf(page, &left, &right);
    // Heading 28 units (its line at 27), then one 21-unit row under the other.
    EXPECT_EQ(horizontalLineUnits(page, scale), (std::vector<int>{0, 27, 48, 69, 90}));
    const double rowStep = page.lines[8].baseline - page.lines[7].baseline;
    EXPECT_NEAR(page.lines[9].baseline - page.lines[8].baseline, rowStep, 1.0);
    EXPECT_NEAR(rowStep / scale, 21.0, 0.5);
    // The settings lines are 28 units apart.
    EXPECT_NEAR((page.lines[2].baseline - page.lines[1].baseline) / scale, 28.0, 0.5);
}

TEST_F(ViewPrintTest, TheFirstPrintedRowClearsTheHeadingWhenChannelOneIsEmpty) {
    programChannels({5});
    const PrintedPage page = print();
    ASSERT_EQ(page.lines.size(), 8u);
    EXPECT_EQ(page.lines[7].runs.front().text, "5");
    double left = 0;
    double right = 0;
    const double scale = scaleOf(page, &left, &right);
    EXPECT_EQ(horizontalLineUnits(page, scale), (std::vector<int>{0, 27, 48}));
}

TEST_F(ViewPrintTest, WithoutProgrammedChannelsOnlyDateSettingsAndHeading) {
    const PrintedPage page = print();
    ASSERT_EQ(page.lines.size(), 7u);
    EXPECT_TRUE(page.lines[6].text().contains(view->grid()->cellText(0, 1)));
    double left = 0;
    double right = 0;
    const double scale = scaleOf(page, &left, &right);
    EXPECT_EQ(horizontalLineUnits(page, scale), (std::vector<int>{0, 27}));
}

TEST_F(ViewPrintTest, TheGridFillsThePrintableWidthBetweenEqualMargins) {
    const PrintedPage page = print();
    double left = 0;
    double right = 0;
    const double scale = scaleOf(page, &left, &right);
    const double rightMargin = RecordingPrinter::kWidth - (right + scale);
    EXPECT_GT(left, 0.0);
    EXPECT_NEAR(left, rightMargin, scale + 1.0);
    // Four character widths of the 9-pixel measuring font: a few grid units.
    EXPECT_GT(left / scale, 8.0);
    EXPECT_LT(left / scale, 40.0);
    // The date line starts at the grid's left edge, the cells at 300 and 600.
    const PrintedLine& line1 = page.lines[1];
    EXPECT_NEAR(page.lines[0].runs.front().at.x(), left, 1.0);
    const double cell0 = line1.xOf("Beep");
    EXPECT_NEAR(cell0, left, 1.0);
    EXPECT_NEAR(line1.xOf("DTMF code") - cell0, 300 * scale, 1.0);
    EXPECT_NEAR(line1.xOf("Squelch level") - cell0, 600 * scale, 1.0);
}

TEST_F(ViewPrintTest, SettingsLinesNameCaptionAndValueOfEveryControlHiddenOnesToo) {
    const PrintedPage page = print();
    ASSERT_GE(page.lines.size(), 6u);
    const auto pair = [this](int label, int control) {
        return shown(label) + " : " + shown(control);
    };
    const QString yes = QString::fromStdString(lookupText("IDS_YES"));
    const QString no = QString::fromStdString(lookupText("IDS_NO"));
    const auto box = [&](int id) {
        return shown(id) + " : " + (view->checkBoxValue(id) != 0 ? yes : no);
    };
    const std::vector<std::vector<QString>> expected = {
        {box(IDC_BEEP), pair(IDC_DTMF_LABEL, IDC_DTMF), pair(IDC_SQUELCH_LABEL, IDC_SQUELCH)},
        {pair(IDC_SIDE_KEY1_LABEL, IDC_SIDE_KEY1), pair(IDC_SIDE_KEY2_LABEL, IDC_SIDE_KEY2),
         box(IDC_SCAN)},
        {pair(IDC_VOICE_PROMPT_LABEL, IDC_VOICE_PROMPT),
         pair(IDC_TX_TIME_LIMIT_LABEL, IDC_TX_TIME_LIMIT), box(IDC_BATTERY_SAVE)},
        {pair(IDC_FM_FREQUENCY_LABEL, IDC_FM_FREQUENCY), pair(IDC_VOX_LEVEL_LABEL, IDC_VOX_LEVEL),
         box(IDC_FM_RADIO)},
        {box(IDC_VOICE), QString(), box(IDC_VOX)},
    };
    for (std::size_t line = 0; line < 5; ++line) {
        QString all;
        for (std::size_t cell = 0; cell < 3; ++cell) {
            const QString& text = expected[line][cell];
            EXPECT_EQ(view->printedSettingText(static_cast<int>(line), static_cast<int>(cell),
                                               currentLanguageTexts()),
                      text)
                << line << "/" << cell;
            all += text;
        }
        EXPECT_EQ(page.lines[line + 1].text(), all);
    }
    // The hidden controls have values of their own to show.
    EXPECT_FALSE(findControl(view.get(), IDC_SIDE_KEY2)->isVisibleTo(view.get()));
    EXPECT_FALSE(shown(IDC_SIDE_KEY2).isEmpty());
    EXPECT_FALSE(shown(IDC_FM_FREQUENCY).isEmpty());
    EXPECT_TRUE(page.lines[1].text().contains("DTMF code : "));
    EXPECT_TRUE(page.lines[4].text().contains("FM radio frequency : " + shown(IDC_FM_FREQUENCY)));
}

TEST_F(ViewPrintTest, ATickedBoxPrintsYesWhateverItsCaption) {
    click(IDC_BEEP);
    const bool ticked = checkBox(IDC_BEEP)->isChecked();
    checkBox(IDC_BEEP)->setText("Anything at all");
    EXPECT_EQ(view->printedSettingText(0, 0, currentLanguageTexts()),
              QString("Anything at all : ") + (ticked ? "Yes" : "No"));
    click(IDC_BEEP);
    EXPECT_EQ(view->printedSettingText(0, 0, currentLanguageTexts()),
              QString("Anything at all : ") + (ticked ? "No" : "Yes"));
    // The yes and no are those of the texts the caller gives.
    const TextSource german = [](std::string_view key) {
        return std::string(key == "IDS_YES" ? "Ja" : "Nein");
    };
    EXPECT_EQ(view->printedSettingText(0, 0, german),
              QString("Anything at all : ") + (ticked ? "Nein" : "Ja"));
    const PrintedPage page = print();
    EXPECT_TRUE(
        page.lines[1].text().startsWith(QString("Anything at all : ") + (ticked ? "No" : "Yes")));
}

TEST_F(ViewPrintTest, DateLineHasTheFullWeekdayOfTheLanguageAnd24HourTime) {
    EXPECT_EQ(print().lines[0].text(), "2026-12-07 Monday 14:05");

    setLanguagePath(dir / "chinese.lang");
    view->OnUpdate();
    const PrintedPage page = print();
    EXPECT_EQ(page.lines[0].text(), "2026-12-07 星期一 14:05");
    EXPECT_TRUE(page.lines[1].text().startsWith(shown(IDC_BEEP) + " : "));
    EXPECT_TRUE(page.lines[1].text().contains(QString::fromUtf8("静噪等级 : ")));
}

TEST_F(ViewPrintTest, TextsUseTheNamedPrintFontAtElevenUnits) {
    const PrintedPage page = print();
    double left = 0;
    double right = 0;
    const double scale = scaleOf(page, &left, &right);
    const QFont font = page.lines[0].runs.front().font;
    EXPECT_EQ(font.family(), "Times New Roman");
    EXPECT_EQ(font.pixelSize(), 11);
    // The grid's cells keep their screen size in grid units: a heading text
    // is no taller than its 28-unit row.
    const QFont cellFont = page.lines[6].runs.front().font;
    ASSERT_GT(cellFont.pixelSize(), 0);
    EXPECT_LT(cellFont.pixelSize(), 28);
    EXPECT_GT(scale, 1.0);
}

TEST_F(ViewPrintTest, PrintingLeavesTheDocumentAndTheFormAsTheyWere) {
    programChannels({2});
    const RadioImage before = image();
    const QString dtmf = shown(IDC_DTMF);
    print();
    EXPECT_EQ(image().bytes, before.bytes);
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(shown(IDC_DTMF), dtmf);
}

TEST_F(ViewPrintTest, APdfWriterGetsOnePage) {
    QTemporaryDir folder;
    const QString path = folder.filePath("page.pdf");
    {
        QPdfWriter writer(path);
        EXPECT_TRUE(view->printOn(writer));
    }
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Count 1"));
}

}  // namespace
}  // namespace qzm
