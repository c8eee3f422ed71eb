// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/settings_entries.h"

#include "radio/radio_image.h"

namespace qzm {
namespace {

constexpr int kTxTimeLimitStepSeconds = 30;
constexpr int kLowestFmTenths = 870;  // 87.0 MHz in tenths of a megahertz

std::vector<std::string> numberEntries(int first, int count, int step) {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        entries.push_back(std::to_string(first + i * step));
    }
    return entries;
}

}  // namespace

std::vector<std::string> squelchEntries() {
    return numberEntries(0, kMaxSquelchLevel + 1, 1);
}

std::vector<std::string> txTimeLimitEntries(std::string_view offText) {
    std::vector<std::string> entries{std::string(offText)};
    for (std::string& seconds :
         numberEntries(kTxTimeLimitStepSeconds, kMaxTxTimeLimit, kTxTimeLimitStepSeconds)) {
        entries.push_back(std::move(seconds));
    }
    return entries;
}

std::vector<std::string> voxLevelEntries() {
    return numberEntries(1, kMaxVoxLevel + 1, 1);
}

std::string fmFrequencyEntry(int position) {
    const int tenths = kLowestFmTenths + position;
    return std::to_string(tenths / 10) + "M" + std::to_string(tenths % 10);
}

std::vector<std::string> fmFrequencyEntries() {
    static_assert(kFmFrequencyEntryCount == kMaxFmFrequency + 1);
    std::vector<std::string> entries;
    entries.reserve(kFmFrequencyEntryCount);
    for (int position = 0; position <= kMaxFmFrequency; ++position) {
        entries.push_back(fmFrequencyEntry(position));
    }
    return entries;
}

}  // namespace qzm
