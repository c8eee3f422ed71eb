// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/channel_clipboard.h"

#include <gtest/gtest.h>

#include <vector>

#include "radio/channel_operations.h"

namespace qzm {
namespace {

constexpr BandLimits kBand{40'000'000, 47'000'000};  // 400 to 470 MHz

ChannelTexts englishTexts() {
    ChannelTexts texts;
    texts.offText = "Off";
    texts.flagTexts = {
        {{"Yes", "No"}, {"Wide", "Narrow"}, {"Low", "High"}, {"Yes", "No"}, {"Yes", "No"}}};
    return texts;
}

RadioImage programmedImage() {
    RadioImage image = RadioImage::fresh();
    image.setFrequencyText(1, ChannelSide::Receive, "446.00625");
    image.setFrequencyText(1, ChannelSide::Transmit, "446.00625");
    image.setToneText(1, ChannelSide::Receive, "88.5");
    image.setToneText(1, ChannelSide::Transmit, "D023N");
    image.setNarrow(1, 1);
    image.setHighPower(1, 0);
    image.setCol5No(1, 1);
    image.setFrequencyText(2, ChannelSide::Receive, "433.50000");
    image.setFrequencyText(2, ChannelSide::Transmit, "438.50000");
    image.bytes[16 * 2 + 14] = 0x5A;  // a byte without a field
    return image;
}

TEST(ChannelClipboardTest, RecordsRoundTripByteForByteAndJunkIsRefused) {
    const RadioImage image = programmedImage();
    const std::vector<ChannelRecord> records{image.channelRecord(2), image.channelRecord(1)};
    const auto bytes = encodeChannelRecords(records);
    const auto decoded = decodeChannelRecords(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, records);
    auto cut = bytes;
    cut.pop_back();
    EXPECT_FALSE(decodeChannelRecords(cut));
    auto foreign = bytes;
    foreign[0] = 'X';
    EXPECT_FALSE(decodeChannelRecords(foreign));
    EXPECT_FALSE(decodeChannelRecords(std::vector<std::uint8_t>{}));

    RadioImage target = RadioImage::fresh();
    int written = 0;
    EXPECT_EQ(pasteChannelRecords(target, 15, *decoded, &written), 0);
    EXPECT_EQ(written, 2);
    EXPECT_EQ(target.channelRecord(15), image.channelRecord(2));
    EXPECT_EQ(pasteChannelRecords(target, 16, *decoded, &written), 1);
    EXPECT_EQ(written, 1);
}

TEST(ChannelClipboardTest, TextIsTheGridsColumnsAndPastesBackToTheSameFields) {
    const RadioImage image = programmedImage();
    const std::string text = channelRowsText(image, std::vector{3, 1, 2}, englishTexts());
    EXPECT_EQ(text,
              "446.00625\t88.5\t446.00625\tD023N\tNo\tNarrow\tLow\tNo\tNo\n"
              "433.50000\tOff\t438.50000\tOff\tYes\tWide\tHigh\tNo\tNo\n"
              "\t\t\t\t\t\t\t\t\n");
    RadioImage target = RadioImage::fresh();
    target.setFrequencyText(7, ChannelSide::Receive, "440.00000");
    const ChannelPasteResult result = pasteChannelRows(target, kBand, 5, text, englishTexts());
    EXPECT_EQ(result.pasted, 3);
    EXPECT_EQ(result.unusableRows + result.valuesNotRead + result.valuesRepaired, 0);
    EXPECT_EQ(channelRowsText(target, std::vector{5, 6, 7}, englishTexts()), text);
    // A text row carries fields, not bytes without one.
    EXPECT_EQ(target.channelRecord(7), emptyChannelRecord());
}

TEST(ChannelClipboardTest, SpreadsheetRowsGoThroughTheTypingRules) {
    struct Case {
        const char* name;
        const char* text;
        int pasted, unusable, notRead, repaired;
        const char* rx;
        const char* tx;
        const char* rxTone;
    };
    const Case cases[] = {
        {"receive only: transmit follows", "145.5\n", 1, 0, 0, 1, "400.00000", "400.00000", "Off"},
        {"two columns, comma separated", "446.1,88.5\r\n", 1, 0, 0, 0, "446.10000", "446.10000",
         "88.5"},
        {"above the band and off the grid", "999\tjunk tone\n", 1, 0, 0, 2, "470.00000",
         "470.00000", "Off"},
        {"header row left out", "RX\tTone\n446.00625\t67.0\t446.5\n", 1, 1, 0, 0, "446.00625",
         "446.50000", "67.0"},
        {"unknown flag kept", "446.1\tOff\t446.1\tOff\tmaybe\n", 1, 0, 1, 0, "446.10000",
         "446.10000", "Off"},
    };
    for (const Case& c : cases) {
        RadioImage image = RadioImage::fresh();
        const ChannelPasteResult result = pasteChannelRows(image, kBand, 3, c.text, englishTexts());
        EXPECT_EQ(result.pasted, c.pasted) << c.name;
        EXPECT_EQ(result.unusableRows, c.unusable) << c.name;
        EXPECT_EQ(result.valuesNotRead, c.notRead) << c.name;
        EXPECT_EQ(result.valuesRepaired, c.repaired) << c.name;
        EXPECT_EQ(image.frequencyText(3, ChannelSide::Receive), c.rx) << c.name;
        EXPECT_EQ(image.frequencyText(3, ChannelSide::Transmit), c.tx) << c.name;
        EXPECT_EQ(image.toneText(3, ChannelSide::Receive, "Off"), c.rxTone) << c.name;
        EXPECT_EQ(image.col5No(3), 0) << c.name;  // no flag given: the default stays
    }
}

TEST(ChannelClipboardTest, RowsPastTheLastChannelAndJunkChangeNothingBeyond) {
    RadioImage image = RadioImage::fresh();
    const RadioImage before = image;
    for (const char* junk : {"", "\n\n", "hello world", "a,b,c\nx\ty\n", "12abc\t88.5"}) {
        const ChannelPasteResult result = pasteChannelRows(image, kBand, 1, junk, englishTexts());
        EXPECT_EQ(result.pasted, 0) << junk;
        EXPECT_EQ(image.bytes, before.bytes) << junk;
    }
    const ChannelPasteResult result =
        pasteChannelRows(image, kBand, 15, "446.1\n446.2\n446.3\n446.4\n", englishTexts());
    EXPECT_EQ(result.pasted, 2);
    EXPECT_EQ(result.droppedPastEnd, 2);
    EXPECT_EQ(image.frequencyText(16, ChannelSide::Receive), "446.20000");
}

}  // namespace
}  // namespace qzm
