// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/csv.h"
#include "radio/radio_image.h"

namespace qzm {

// One value of the channel table whose bytes hold no valid value.
struct DamagedCsvValue {
    int channel = 0;
    std::string column;  // "rx_freq", "tx_tone", ...
    std::string shown;   // what the bytes decode to, for the message
};

struct ChannelCsvExport {
    std::string csv;
    std::vector<DamagedCsvValue> damaged;  // written as kDamagedValue (channel_fields.h)
};

// The channel table as CSV, one record per channel after the header
// channel,rx_freq,rx_tone,tx_freq,tx_tone,col5,narrow,high_power,col8,col9.
// A frequency or tone whose bytes hold no valid value is written as "damaged",
// never as text that looks like a value, and listed for the caller to tell.
ChannelCsvExport exportChannelTable(const RadioImage& image);
// The text alone.
std::string exportChannelsCsv(const RadioImage& image);

struct ChannelImportResult {
    std::optional<RadioImage> image;  // the result; empty when the input was refused
    std::optional<CsvError> error;    // the line and the reason
    // Values taken but changed on the way in (a frequency outside the band became
    // the band limit, one off the grid the nearest grid point), and values marked
    // damaged, which were left as the image had them.
    std::vector<CsvError> notes;
};

// `base` with the channels listed in `csv` entered as a user types them into
// the editor (band limit, grid snapping, follow rules).  Channels not listed
// keep what `base` has.  Input that cannot be taken as a whole is refused.
// Every field must be well formed as the editors accept it (see channel_fields.h);
// the first one that is not refuses the input, naming its column.  A field marked
// "damaged" (as export writes it) is skipped: the value stays as `base` has it,
// and a note names it.  Blank fields beyond the header's are ignored.
ChannelImportResult importChannelsCsv(std::string_view csv, const RadioImage& base);

// The same for records already read, e.g. by readCsvInput; a parse error refuses.
ChannelImportResult importChannelRecords(const CsvParseResult& parsed, const RadioImage& base);

}  // namespace qzm
