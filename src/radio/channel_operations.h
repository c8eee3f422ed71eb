// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <vector>

#include "radio/channel_record.h"
#include "radio/radio_image.h"

namespace qzm {

// Whole-channel operations of the Edit menu.  Channels are numbers 1..16; a selection may
// be given in any order and with repeats, numbers outside 1..16 are ignored.  Every record
// moves with all 16 bytes, the three without a field included.

// A channel as a new document has it: erased, with the flag defaults.
ChannelRecord emptyChannelRecord();

// The valid channels of a selection, ascending, each once.
std::vector<int> normalizedChannels(std::span<const int> channels);

void clearChannels(RadioImage& image, std::span<const int> channels);

// Inserts `count` empty channels before channel `at`; the channels from `at` on move
// down and the last `count` channels fall off the end.
void insertEmptyChannels(RadioImage& image, int at, int count);
// How many programmed channels (receive frequency set) such an insert would push off.
int channelsPushedOff(const RadioImage& image, int at, int count);

// Removes the channels; the following ones move up and empty channels fill the end.
void deleteChannels(RadioImage& image, std::span<const int> channels);

// Moves each selected channel one place up (or down), past the unselected neighbour.
// Nothing moves when channel 1 (16) is among them.  Returns where the selected channels
// are afterwards (the selection unchanged when nothing moved).
std::vector<int> moveChannelsUp(RadioImage& image, std::span<const int> channels);
std::vector<int> moveChannelsDown(RadioImage& image, std::span<const int> channels);
bool canMoveUp(std::span<const int> channels);
bool canMoveDown(std::span<const int> channels);

}  // namespace qzm
