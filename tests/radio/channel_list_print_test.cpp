// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "radio/channel_list_print.h"

namespace qzm {
namespace {

TEST(PrintPageLayoutTest, MarginsOfFourCharactersAndPageScaledToThePrinter) {
    struct Case {
        int lettersWidth, printerWidth, printerHeight;
        int characterWidth, logicalWidth, logicalHeight;
    };
    const Case cases[] = {
        // 52 letters 208 pixels wide: 4 per character, 8 of them in the margins.
        {208, 4960, 7016, 4, 822, 1162},
        // Integer division of the width; the height multiplies before dividing.
        {259, 9921, 14031, 4, 822, 1162},
        {520, 1000, 1000, 10, 870, 870},
        // A landscape page is wider than it is high.
        {208, 7016, 4960, 4, 822, 581},
        // Letters narrower than 52 pixels leave no margin.
        {51, 100, 100, 0, 790, 790},
    };
    for (const Case& c : cases) {
        const auto layout = printPageLayout(790, c.lettersWidth, c.printerWidth, c.printerHeight);
        ASSERT_TRUE(layout.has_value()) << c.lettersWidth;
        EXPECT_EQ(layout->characterWidth, c.characterWidth);
        EXPECT_EQ(layout->logicalWidth, c.logicalWidth);
        EXPECT_EQ(layout->logicalHeight, c.logicalHeight);
        EXPECT_EQ(layout->originX(), -4 * c.characterWidth);
        EXPECT_EQ(layout->printerWidth, c.printerWidth);
        EXPECT_EQ(layout->printerHeight, c.printerHeight);
    }
}

TEST(PrintPageLayoutTest, AnAreaThatCannotBeMappedGivesNoLayout) {
    EXPECT_FALSE(printPageLayout(790, 208, 0, 7016));
    EXPECT_FALSE(printPageLayout(790, 208, 4960, 0));
    EXPECT_FALSE(printPageLayout(0, 208, 4960, 7016));
    EXPECT_FALSE(printPageLayout(790, -1, 4960, 7016));
    // A page so tall that H would leave 32 bits.
    EXPECT_FALSE(printPageLayout(790, 208, 1, INT32_MAX));
    // Large printers do not overflow the multiplication.
    const auto huge = printPageLayout(790, 208, 1'000'000, 2'000'000);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->logicalHeight, 1644);
}

TEST(PrintedRowsTest, OnlyProgrammedRowsInOrderAtMostOnePage) {
    const std::set<int> some = {1, 5, 16};
    EXPECT_EQ(printedRows(1, 17, [&](int row) { return some.count(row) != 0; }),
              (std::vector<int>{1, 5, 16}));
    EXPECT_TRUE(printedRows(1, 17, [](int) { return false; }).empty());
    // The heading row is never a channel, even when its text would count.
    EXPECT_EQ(printedRows(1, 3, [](int) { return true; }), (std::vector<int>{1, 2}));

    // 49 programmed rows: the first 35 fill the page.
    const std::vector<int> many = printedRows(1, 100, [](int row) { return row % 2 == 0; });
    ASSERT_EQ(many.size(), static_cast<std::size_t>(kPrintRowsPerPage));
    EXPECT_EQ(many.front(), 2);
    EXPECT_EQ(many.back(), 70);
}

TEST(PrintDateTest, FullWeekdayAnd24HourTime) {
    std::tm afternoon{};
    afternoon.tm_year = 2026 - 1900;
    afternoon.tm_mon = 11;
    afternoon.tm_mday = 7;
    afternoon.tm_hour = 14;
    afternoon.tm_min = 5;
    afternoon.tm_wday = 1;
    EXPECT_EQ(formatPrintDate(afternoon, "Monday"), "2026-12-07 Monday 14:05");
    EXPECT_EQ(formatPrintDate(afternoon, "星期一"), "2026-12-07 星期一 14:05");

    std::tm night = afternoon;
    night.tm_mon = 0;
    night.tm_mday = 1;
    night.tm_hour = 0;
    night.tm_min = 0;
    EXPECT_EQ(formatPrintDate(night, "Thursday"), "2026-01-01 Thursday 00:00");
}

TEST(PrintPairTest, CaptionSeparatorValue) {
    EXPECT_EQ(printPair("Beep", "Yes"), "Beep : Yes");
    EXPECT_EQ(printPair("DTMF code", ""), "DTMF code : ");
}

// The yes and no come from the texts given, as they are, "Not Found" included.
TEST(PrintPairTest, CheckBoxTakesYesOrNoFromTheGivenTexts) {
    const TextSource chinese = [](std::string_view key) {
        return key == "IDS_YES" ? std::string("是") : std::string(kNotFoundText);
    };
    const struct {
        bool checked;
        const char* printed;
    } cases[] = {{true, "按键音 : 是"}, {false, "按键音 : Not Found"}};
    for (const auto& c : cases) {
        EXPECT_EQ(printCheckBox("按键音", c.checked, chinese), c.printed) << c.checked;
    }
}

}  // namespace
}  // namespace qzm
