// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/channel_operations.h"

#include <algorithm>

namespace qzm {

ChannelRecord emptyChannelRecord() {
    static const ChannelRecord empty = RadioImage::fresh().channelRecord(1);
    return empty;
}

std::vector<int> normalizedChannels(std::span<const int> channels) {
    std::vector<int> sorted;
    for (const int n : channels) {
        if (RadioImage::isValidChannel(n)) {
            sorted.push_back(n);
        }
    }
    std::ranges::sort(sorted);
    const auto repeats = std::ranges::unique(sorted);
    sorted.erase(repeats.begin(), repeats.end());
    return sorted;
}

void clearChannels(RadioImage& image, std::span<const int> channels) {
    for (const int n : normalizedChannels(channels)) {
        image.setChannelRecord(n, emptyChannelRecord());
    }
}

void insertEmptyChannels(RadioImage& image, int at, int count) {
    if (!RadioImage::isValidChannel(at) || count <= 0) {
        return;
    }
    count = std::min(count, kChannelCount - at + 1);
    for (int n = kChannelCount; n >= at + count; --n) {
        image.setChannelRecord(n, image.channelRecord(n - count));
    }
    for (int n = at; n < at + count; ++n) {
        image.setChannelRecord(n, emptyChannelRecord());
    }
}

int channelsPushedOff(const RadioImage& image, int at, int count) {
    if (!RadioImage::isValidChannel(at) || count <= 0) {
        return 0;
    }
    const int first = std::max(at, kChannelCount - count + 1);
    int programmed = 0;
    for (int n = first; n <= kChannelCount; ++n) {
        programmed += image.isRxEmpty(n) ? 0 : 1;
    }
    return programmed;
}

void deleteChannels(RadioImage& image, std::span<const int> channels) {
    const std::vector<int> gone = normalizedChannels(channels);
    if (gone.empty()) {
        return;
    }
    std::vector<ChannelRecord> kept;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!std::ranges::binary_search(gone, n)) {
            kept.push_back(image.channelRecord(n));
        }
    }
    for (int n = 1; n <= kChannelCount; ++n) {
        const auto index = static_cast<std::size_t>(n - 1);
        image.setChannelRecord(n, index < kept.size() ? kept[index] : emptyChannelRecord());
    }
}

bool canMoveUp(std::span<const int> channels) {
    const std::vector<int> moving = normalizedChannels(channels);
    return !moving.empty() && moving.front() > 1;
}

bool canMoveDown(std::span<const int> channels) {
    const std::vector<int> moving = normalizedChannels(channels);
    return !moving.empty() && moving.back() < kChannelCount;
}

namespace {

void swapChannels(RadioImage& image, int a, int b) {
    const ChannelRecord first = image.channelRecord(a);
    image.setChannelRecord(a, image.channelRecord(b));
    image.setChannelRecord(b, first);
}

}  // namespace

std::vector<int> moveChannelsUp(RadioImage& image, std::span<const int> channels) {
    std::vector<int> moving = normalizedChannels(channels);
    if (!canMoveUp(moving)) {
        return moving;
    }
    // Top down: each selected channel trades places with the one above it, so a block
    // of selected channels moves as a block.
    for (int& n : moving) {
        swapChannels(image, n - 1, n);
        --n;
    }
    return moving;
}

std::vector<int> moveChannelsDown(RadioImage& image, std::span<const int> channels) {
    std::vector<int> moving = normalizedChannels(channels);
    if (!canMoveDown(moving)) {
        return moving;
    }
    for (auto it = moving.rbegin(); it != moving.rend(); ++it) {
        swapChannels(image, *it, *it + 1);
        ++*it;
    }
    return moving;
}

}  // namespace qzm
