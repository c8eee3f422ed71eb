// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/entry_repair.h"

#include <algorithm>

#include "radio/value_codecs.h"

namespace qzm {

bool isFrequencyText(std::string_view text) {
    const auto points = std::count(text.begin(), text.end(), '.');
    const bool onlyDigitsAndPoints = std::all_of(
        text.begin(), text.end(), [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
    return onlyDigitsAndPoints && points <= 1 && static_cast<std::size_t>(points) < text.size();
}

FrequencyEntry examineFrequencyEntry(std::string_view text, BandLimits limits) {
    FrequencyEntry entry;
    if (text.empty()) {
        return entry;
    }
    if (!isFrequencyText(text)) {
        entry.repair = FrequencyRepair::NotAFrequency;
        return entry;
    }
    std::string limited(text);
    const int range = checkFrequencyRange(text, limits);
    if (range != 0) {
        limited = formatLimit(range, limits);
        entry.repair = range > 0 ? FrequencyRepair::AboveBand : FrequencyRepair::BelowBand;
    }
    entry.kept = formatFrequency(parseFrequency(limited));
    if (entry.repair == FrequencyRepair::None &&
        normalizeFrequency(entry.kept) != normalizeFrequency(text)) {
        entry.repair = FrequencyRepair::Snapped;
    }
    return entry;
}

}  // namespace qzm
