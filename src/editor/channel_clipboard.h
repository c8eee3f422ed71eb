// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "radio/band_table.h"
#include "radio/channel_record.h"
#include "radio/radio_image.h"

namespace qzm {

// Whole channels on the clipboard, in two forms: our own (the exact 16-byte records) and
// tab-separated text in the grid's column order as the grid shows it, which spreadsheets
// take and give back.

inline constexpr std::string_view kChannelClipboardMime = "application/x-qzm836-channels";

std::vector<std::uint8_t> encodeChannelRecords(std::span<const ChannelRecord> records);
// Nothing for bytes that are not a whole record list of ours.
std::optional<std::vector<ChannelRecord>> decodeChannelRecords(std::span<const std::uint8_t> bytes);

// The texts the grid shows besides frequencies and tones, in the current language.
struct ChannelTexts {
    std::string offText;  // a tone that is off
    // Columns 5..9: the texts of bit value 0 and 1.
    std::array<std::array<std::string, 2>, 5> flagTexts;
};

// One line per channel, the nine field columns separated by tabs, each as the grid shows
// it (an empty channel is a line of empty fields).
std::string channelRowsText(const RadioImage& image, std::span<const int> channels,
                            const ChannelTexts& texts);

// What a text paste did.
struct ChannelPasteResult {
    int pasted = 0;          // channels written
    int droppedPastEnd = 0;  // usable rows that would have gone past channel 16
    int unusableRows = 0;    // rows without a receive frequency that reads as a number
    int valuesNotRead = 0;   // flag values that are none of the texts; the flag was kept
    int valuesRepaired = 0;  // frequencies moved into the band, tones that read as off
};

// Rows of tab-separated values (comma-separated when a line has no tab) written from
// channel `first` down, column by column in the grid's order, as many columns as a row
// gives, each through the rules of typing it.  A row of empty fields empties its channel.
// Rows that cannot be used are left out and counted, not written.
ChannelPasteResult pasteChannelRows(RadioImage& image, BandLimits limits, int first,
                                    std::string_view text, const ChannelTexts& texts);

// Records written from channel `first` down; returns how many did not fit.
int pasteChannelRecords(RadioImage& image, int first, std::span<const ChannelRecord> records,
                        int* written = nullptr);

}  // namespace qzm
