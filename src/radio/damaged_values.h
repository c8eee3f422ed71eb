// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "radio/field_bytes.h"
#include "radio/radio_image.h"

namespace qzm {

// Channel values the radio cannot use as they are stored: frequency digits above
// 9, a frequency only partly erased, a tone code on none of the radio's lists,
// a transmit frequency on a channel without a receive frequency.  Such a value
// arrives from a damaged file or a faulty read; the editor shows it marked and
// keeps its bytes until the user types a new value.

enum class ChannelField { RxFrequency, RxTone, TxFrequency, TxTone };

struct DamagedValue {
    int channel = 0;  // 1..16
    ChannelField field = ChannelField::RxFrequency;
    std::string storedBytes;  // "3D 5E 81 45", in image order
};

// Frequency bytes that are neither erased (FF FF FF FF) nor eight decimal digits.
bool isDamagedFrequency(const FrequencyBytes& bytes);
// Tone bytes that are neither off nor one of the tones the radio's lists hold.
bool isDamagedTone(const ToneBytes& bytes);

// The damaged value of one cell of channel n, if it has one.  Fields the grid
// does not show (the tones of an empty channel, the transmit tone of a channel
// without a transmit frequency) are never damaged.
// The stored value where it still reads as one (a tone code the lists lack), shown
// after the damage mark; empty where it does not (digits above 9 have no honest text).
std::string readableDamagedValue(const RadioImage& image, const DamagedValue& value);

// The column of a field in the channel table, as the grid and `show` number them (0 is
// the channel number), and the field of a column; none for the other columns.
int channelTableColumn(ChannelField field);
std::optional<ChannelField> channelFieldOfColumn(int column);

std::optional<DamagedValue> damagedValueOf(const RadioImage& image, int n, ChannelField field);

// Every damaged value of the image, channel by channel in field order.
std::vector<DamagedValue> findDamagedValues(const RadioImage& image);

// The channels of the values, ascending and once each.
std::vector<int> channelsOf(const std::vector<DamagedValue>& values);

// "3D 5E 81 45".
std::string hexBytes(const std::uint8_t* bytes, std::size_t count);

}  // namespace qzm
