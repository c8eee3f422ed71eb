// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "radio/band_table.h"
#include "radio/field_bytes.h"
#include "radio/radio_image.h"

namespace qzm {

// How a typed channel value is stored: the rules the floating cell editors
// apply when they lose the focus, shared with the command-line import so a
// value means the same wherever it is entered.  Each returns whether the stored
// text changed (the editor then marks the document modified); the caller
// rewrites the channel's row afterwards.

// A frequency typed into the receive (column 1) or transmit (column 3) cell.
// Out-of-band text becomes the nearest band limit and every value is snapped to
// the channel grid.  Empty text clears the field: the transmit tone goes off,
// and clearing the receive frequency empties the whole channel (tones off,
// transmit frequency empty, flags at their defaults).  While transmit equals
// receive, a new receive frequency is copied to transmit.
bool commitFrequency(RadioImage& image, BandLimits limits, int channel, ChannelSide side,
                     std::string_view text);

// A tone picked in the receive (column 2) or transmit (column 4) cell; text
// that is no tone turns it off.  While the two tones are equal, a new receive
// tone is copied to transmit.  `offText` is the language's text of an off tone.
bool commitTone(RadioImage& image, int channel, ChannelSide side, std::string_view text,
                std::string_view offText);

// A tone picked from the tone picker's list.  A pick of the tone already stored
// writes nothing, so a tone the list does not hold survives byte for byte;
// otherwise as commitTone.  True when the image changed.
bool commitPickedTone(RadioImage& image, int channel, ChannelSide side, const ToneBytes& tone);

// The five yes/no columns of a channel; the value is the picker position, so
// it is also the bit (non-zero sets it).
enum class ChannelFlag { Col5No, Narrow, HighPower, Col8No, Col9No };

// Grid columns 5..9 to their flag; nothing for any other column.
std::optional<ChannelFlag> channelFlagOfColumn(int column);

int channelFlag(const RadioImage& image, int channel, ChannelFlag flag);
void setChannelFlag(RadioImage& image, int channel, ChannelFlag flag, int value);

}  // namespace qzm
