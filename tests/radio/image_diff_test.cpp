// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/image_diff.h"

#include <gtest/gtest.h>

#include <functional>

namespace qzm {
namespace {

using Edit = std::function<void(RadioImage&)>;

struct DiffCase {
    const char* name;
    Edit edit;
    std::vector<FieldDifference> fields;
    std::size_t unmapped;
};

TEST(CompareImages, NamesEachChangedFieldAndCountsBytesWithoutOne) {
    const ChannelSide rx = ChannelSide::Receive;
    const ChannelSide tx = ChannelSide::Transmit;
    const DiffCase cases[] = {
        {"nothing", [](RadioImage&) {}, {}, 0},
        {"rx frequency",
         [&](RadioImage& i) { i.setFrequencyText(3, rx, "446.01250"); },
         {{ImageField::RxFrequency, 3}},
         0},
        {"tx frequency and tone",
         [&](RadioImage& i) {
             i.setFrequencyText(16, tx, "446.1");
             i.setToneText(16, tx, "D023N");
         },
         {{ImageField::TxFrequency, 16}, {ImageField::TxTone, 16}},
         0},
        {"rx tone of channel 1",
         [&](RadioImage& i) { i.setToneText(1, rx, "88.5"); },
         {{ImageField::RxTone, 1}},
         0},
        {"each flag bit is its own field",
         [](RadioImage& i) {
             i.setNarrow(2, 1);
             i.setCol5No(2, 1);
             i.setHighPower(4, 0);
             i.setCol8No(5, 0);
             i.setCol9No(5, 0);
         },
         {{ImageField::Col5No, 2},
          {ImageField::Narrow, 2},
          {ImageField::HighPower, 4},
          {ImageField::Col8No, 5},
          {ImageField::Col9No, 5}},
         0},
        {"settings in listing order, band first",
         [](RadioImage& i) {
             i.setDtmfCode({1, 2, 3, 0xFF, 0xFF});
             i.setSquelchLevel(5);
             i.bytes[image_offset::kBandCode] = 0xF8;
             i.setBeepEnabled(1);
         },
         {{ImageField::Band, 0},
          {ImageField::SquelchLevel, 0},
          {ImageField::BeepEnabled, 0},
          {ImageField::DtmfCode, 0}},
         0},
        {"a clamped value that reads alike still differs",
         [](RadioImage& i) { i.bytes[image_offset::kSquelchLevel] = 0xFF; },
         {{ImageField::SquelchLevel, 0}},
         0},
        {"bits beside beep and battery save have no field",
         [](RadioImage& i) { i.bytes[image_offset::kBeepAndBattery] ^= 0x84; },
         {},
         1},
        {"battery bit and a spare bit of the same byte",
         [](RadioImage& i) { i.bytes[image_offset::kBeepAndBattery] ^= 0x22; },
         {{ImageField::BatterySave, 0}},
         1},
        {"spare flag bits and spare record bytes",
         [](RadioImage& i) {
             i.bytes[16 * 7 + ChannelRecord::kFlags] ^= 0xE0;
             i.bytes[16 * 7 + 13] = 0x00;
             i.bytes[16 * 7 + 15] = 0x00;
         },
         {},
         3},
        {"gaps, reserved bytes and the part that never travels",
         [](RadioImage& i) {
             i.bytes[0x005] = 0;
             i.bytes[0x200] = 0;
             i.bytes[image_offset::kReserved3D0] = 7;
             i.bytes[kRadioTransferSize] = 0;
             i.bytes[kImageSize - 1] = 0;
         },
         {},
         5},
        {"identification text",
         [](RadioImage& i) { i.bytes[image_offset::kIdentText + 4] = 'X'; },
         {{ImageField::IdentText, 0}},
         0},
    };
    for (const DiffCase& c : cases) {
        RadioImage before = RadioImage::fresh();
        before.setFrequencyText(3, rx, "446.00625");
        before.setFrequencyText(3, tx, "446.00625");
        RadioImage after = before;
        c.edit(after);
        const ImageDifference difference = compareImages(before, after);
        EXPECT_EQ(difference.fields, c.fields) << c.name;
        EXPECT_EQ(difference.unmappedBytes, c.unmapped) << c.name;
        EXPECT_EQ(difference.empty(), c.fields.empty() && c.unmapped == 0) << c.name;
        // The other way round names the same fields.
        EXPECT_EQ(compareImages(after, before).fields, c.fields) << c.name;
    }
}

TEST(CompareImages, LengthLimitsTheComparisonToWhatARadioHolds) {
    const RadioImage before = RadioImage::fresh();
    RadioImage after = before;
    after.bytes[kRadioTransferSize - 1] = 0;
    after.bytes[kRadioTransferSize] = 0;
    after.bytes[kImageSize - 1] = 0;
    EXPECT_EQ(compareImages(before, after, kRadioTransferSize).unmappedBytes, 1U);
    EXPECT_EQ(compareImages(before, after).unmappedBytes, 3U);
    EXPECT_EQ(compareImages(before, after, kImageSize + 100).unmappedBytes, 3U);
}

TEST(FieldBytes, GivesTheStoredBitsOfTheField) {
    RadioImage image = RadioImage::fresh();
    image.setFrequencyText(2, ChannelSide::Receive, "446.00625");
    EXPECT_EQ(fieldBytes(image, ImageField::RxFrequency, 2),
              (std::vector<std::uint8_t>{0x25, 0x06, 0x60, 0x44}));
    image.bytes[image_offset::kBeepAndBattery] = 0xFF;
    EXPECT_EQ(fieldBytes(image, ImageField::BeepEnabled, 0), (std::vector<std::uint8_t>{0x01}));
    EXPECT_EQ(fieldBytes(image, ImageField::BatterySave, 0), (std::vector<std::uint8_t>{0x02}));
    EXPECT_TRUE(fieldBytes(image, ImageField::RxTone, 17).empty());
}

}  // namespace
}  // namespace qzm
