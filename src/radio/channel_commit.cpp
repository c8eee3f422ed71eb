// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/channel_commit.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "radio/value_codecs.h"

namespace qzm {
namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A cleared receive frequency leaves the channel as a fresh image has it.
void emptyChannel(RadioImage& image, int channel) {
    image.setToneText(channel, ChannelSide::Receive, "");
    image.setFrequencyText(channel, ChannelSide::Transmit, "");
    image.setCol8No(channel, 1);
    image.setNarrow(channel, 0);
    image.setHighPower(channel, 1);
    image.setCol5No(channel, 0);
    image.setCol9No(channel, 1);
}

}  // namespace

bool commitFrequency(RadioImage& image, BandLimits limits, int channel, ChannelSide side,
                     std::string_view text) {
    const bool follow = image.isTxSameAsRx(channel);  // two empty frequencies count as equal
    std::string entered(text);
    const int range = checkFrequencyRange(entered, limits);
    if (range != 0) {
        entered = formatLimit(range, limits);
    }
    const bool modified = !equalIgnoringCase(entered, image.frequencyText(channel, side));
    // Stored even when unchanged: this snaps a frequency that lay off the grid.
    image.setFrequencyText(channel, side, entered);
    if (entered.empty()) {
        image.setToneText(channel, ChannelSide::Transmit, "");
        if (side == ChannelSide::Receive) {
            emptyChannel(image, channel);
        }
    } else if (side == ChannelSide::Receive && follow) {
        image.setFrequency(channel, ChannelSide::Transmit,
                           image.frequency(channel, ChannelSide::Receive));
    }
    return modified;
}

bool commitTone(RadioImage& image, int channel, ChannelSide side, std::string_view text,
                std::string_view offText) {
    const bool follow = image.isToneSame(channel);
    const bool modified = !equalIgnoringCase(text, image.toneText(channel, side, offText));
    image.setToneText(channel, side, text);
    if (side == ChannelSide::Receive && follow) {
        image.setToneText(channel, ChannelSide::Transmit, text);
    }
    return modified;
}

bool commitPickedTone(RadioImage& image, int channel, ChannelSide side, const ToneBytes& tone) {
    if (image.tone(channel, side) == tone) {
        return false;
    }
    const bool follow = image.isToneSame(channel);
    image.setTone(channel, side, tone);
    if (side == ChannelSide::Receive && follow) {
        image.setTone(channel, ChannelSide::Transmit, tone);
    }
    return true;
}

std::optional<ChannelFlag> channelFlagOfColumn(int column) {
    switch (column) {
        case 5:
            return ChannelFlag::Col5No;
        case 6:
            return ChannelFlag::Narrow;
        case 7:
            return ChannelFlag::HighPower;
        case 8:
            return ChannelFlag::Col8No;
        case 9:
            return ChannelFlag::Col9No;
        default:
            return std::nullopt;
    }
}

int channelFlag(const RadioImage& image, int channel, ChannelFlag flag) {
    switch (flag) {
        case ChannelFlag::Col5No:
            return image.col5No(channel);
        case ChannelFlag::Narrow:
            return image.narrow(channel);
        case ChannelFlag::HighPower:
            return image.highPower(channel);
        case ChannelFlag::Col8No:
            return image.col8No(channel);
        case ChannelFlag::Col9No:
            return image.col9No(channel);
    }
    return 0;
}

void setChannelFlag(RadioImage& image, int channel, ChannelFlag flag, int value) {
    switch (flag) {
        case ChannelFlag::Col5No:
            image.setCol5No(channel, value);
            break;
        case ChannelFlag::Narrow:
            image.setNarrow(channel, value);
            break;
        case ChannelFlag::HighPower:
            image.setHighPower(channel, value);
            break;
        case ChannelFlag::Col8No:
            image.setCol8No(channel, value);
            break;
        case ChannelFlag::Col9No:
            image.setCol9No(channel, value);
            break;
    }
}

}  // namespace qzm
