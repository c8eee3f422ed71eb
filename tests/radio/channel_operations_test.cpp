// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/channel_operations.h"

#include <gtest/gtest.h>

#include <vector>

namespace qzm {
namespace {

// Channel n carries n in every byte, so each record is recognisable whole.
RadioImage numberedImage() {
    RadioImage image = RadioImage::fresh();
    for (int n = 1; n <= kChannelCount; ++n) {
        ChannelRecord record;
        record.bytes.fill(static_cast<std::uint8_t>(n));
        image.setChannelRecord(n, record);
    }
    return image;
}

// The number each channel's record came from, 0 for an empty channel.
std::vector<int> order(const RadioImage& image) {
    std::vector<int> numbers;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord record = image.channelRecord(n);
        numbers.push_back(record == emptyChannelRecord() ? 0 : record.bytes[15]);
    }
    return numbers;
}

TEST(ChannelOperationsTest, EachOperationMovesWholeRecords) {
    struct Case {
        const char* name;
        void (*run)(RadioImage&);
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"clear 2 and 5",
         [](RadioImage& i) {
             clearChannels(i, std::vector{5, 2, 5, 99});
         },
         {1, 0, 3, 4, 0, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {"insert 2 before 3",
         [](RadioImage& i) { insertEmptyChannels(i, 3, 2); },
         {1, 2, 0, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {"insert at 16",
         [](RadioImage& i) { insertEmptyChannels(i, 16, 3); },
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0}},
        {"delete 1, 3 and 16",
         [](RadioImage& i) {
             deleteChannels(i, std::vector{16, 1, 3});
         },
         {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 0, 0}},
        {"move 2, 3 and 7 up",
         [](RadioImage& i) {
             moveChannelsUp(i, std::vector{3, 2, 7});
         },
         {2, 3, 1, 4, 5, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {"move 15 and 14 down",
         [](RadioImage& i) {
             moveChannelsDown(i, std::vector{14, 15});
         },
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16, 14, 15}},
        {"move with 1 up: nothing",
         [](RadioImage& i) {
             moveChannelsUp(i, std::vector{1, 4});
         },
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {"move with 16 down: nothing",
         [](RadioImage& i) { moveChannelsDown(i, std::vector{16}); },
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
    };
    for (const Case& c : cases) {
        RadioImage image = numberedImage();
        c.run(image);
        EXPECT_EQ(order(image), c.expected) << c.name;
        // Nothing outside the channel table moves.
        const RadioImage before = numberedImage();
        EXPECT_TRUE(std::equal(image.bytes.begin() + 0x110, image.bytes.end(),
                               before.bytes.begin() + 0x110))
            << c.name;
        EXPECT_TRUE(
            std::equal(image.bytes.begin(), image.bytes.begin() + 0x10, before.bytes.begin()))
            << c.name;
    }
}

TEST(ChannelOperationsTest, MovedSelectionFollowsItsChannels) {
    RadioImage image = numberedImage();
    EXPECT_EQ(moveChannelsUp(image, std::vector{5, 6}), (std::vector{4, 5}));
    EXPECT_EQ(moveChannelsDown(image, std::vector{4, 5}), (std::vector{5, 6}));
    EXPECT_EQ(order(image), order(numberedImage()));
    EXPECT_FALSE(canMoveUp(std::vector{1}));
    EXPECT_FALSE(canMoveDown(std::vector<int>{}));
    EXPECT_TRUE(canMoveDown(std::vector{15}));
}

TEST(ChannelOperationsTest, InsertCountsProgrammedChannelsPushedOff) {
    RadioImage image = RadioImage::fresh();
    EXPECT_EQ(channelsPushedOff(image, 1, 1), 0);
    image.setFrequencyText(16, ChannelSide::Receive, "446.00625");
    image.setFrequencyText(15, ChannelSide::Receive, "446.00625");
    EXPECT_EQ(channelsPushedOff(image, 1, 1), 1);
    EXPECT_EQ(channelsPushedOff(image, 3, 2), 2);
    EXPECT_EQ(channelsPushedOff(image, 16, 5), 1);
    EXPECT_EQ(channelsPushedOff(image, 0, 1), 0);
}

TEST(ChannelOperationsTest, AnEmptyChannelIsTheNewDocumentsOne) {
    const ChannelRecord empty = emptyChannelRecord();
    RadioImage image = RadioImage::fresh();
    EXPECT_TRUE(image.isRxEmpty(1));
    EXPECT_EQ(image.channelRecord(7), empty);
    EXPECT_EQ(empty.bytes[13], 0xFF);  // bytes without a field as erased memory
}

}  // namespace
}  // namespace qzm
