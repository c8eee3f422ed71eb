// SPDX-License-Identifier: GPL-3.0-or-later
// What is wrong with a channel list, in the user's language: the command line keeps
// its English words, the window says the same in the language it shows.
#include "exchange/csv_message.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <regex>
#include <set>

#include "exchange/channel_csv.h"
#include "exchange/chirp_csv.h"
#include "exchange/csv_input.h"
#include "lang/text_lookup.h"
#include "test_language.h"

namespace qzm {
namespace {

std::set<std::string> placeholdersOf(const std::string& text) {
    std::set<std::string> found;
    const std::regex mark("%[1-9]");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), mark);
         it != std::sregex_iterator(); ++it) {
        found.insert(it->str());
    }
    return found;
}

TEST(CsvMessages, TheShippedLanguagesSayEachMessageWithItsValues) {
    const std::filesystem::path res = std::filesystem::path(QZM_TEST_SOURCE_DIR) / "res";
    const TextSource english = languageFileTexts(res / "english.lang");
    const TextSource chinese = languageFileTexts(res / "chinese.lang");
    std::set<std::string_view> keys;
    for (const CsvMessage& message : allCsvMessages()) {
        SCOPED_TRACE(message.key);
        EXPECT_TRUE(keys.insert(message.key).second) << "key used twice";
        // The English file holds the command line's very words.
        EXPECT_EQ(english(message.key), message.english);
        const std::string translated = chinese(message.key);
        EXPECT_NE(translated, kNotFoundText);
        EXPECT_EQ(placeholdersOf(translated), placeholdersOf(std::string(message.english)));
    }
}

TEST(CsvMessages, TheWindowsLanguageWordsWhatTheCommandLineSaysInEnglish) {
    const TextSource german = test::languageWith({
        {"IDS_CSV_CHANNEL_TWICE", "Kanal %1 doppelt (zuerst in Zeile %2)"},
        {"IDS_CSV_NOT_FREQUENCY", "%1: %2 ist keine Frequenz"},
        {"IDS_ERRNO_ENOENT", "gibt es nicht"},
    });
    const std::string header =
        "channel,rx_freq,rx_tone,tx_freq,tx_tone,col5,narrow,high_power,col8,col9\n";
    struct Case {
        CsvError error;
        std::string english;
        std::string german;
    };
    const Case cases[] = {
        {*importChannelsCsv(header + "2,,,,,0,0,0,0,0\n2,,,,,0,0,0,0,0\n", RadioImage::fresh())
              .error,
         "channel 2 appears twice (first on line 2)", "Kanal 2 doppelt (zuerst in Zeile 2)"},
        // A value holding a placeholder of its own stays as it is.
        {*importChannelsCsv(header + "2,%2,,,,0,0,0,0,0\n", RadioImage::fresh()).error,
         "rx_freq: '%2' is not a frequency in MHz (digits and at most one point, as 446.00625)",
         "rx_freq: '%2' ist keine Frequenz"},
        // A message the language lacks: the English one.
        {*parseCsv("a,\"b\n").error, "quoted field is not closed", "quoted field is not closed"},
        {*importChirpCsv("Name\nx\n", RadioImage::fresh()).error,
         "the header lacks the columns Location and Frequency",
         "the header lacks the columns Location and Frequency"},
        {csvSystemError(ENOENT), std::strerror(ENOENT), "gibt es nicht"},
        // A note of our own making, without a key.
        {CsvError{4, "note: anything"}, "note: anything", "note: anything"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(c.error.message, c.english);
        EXPECT_EQ(csvMessageText(c.error, german), c.german);
    }
    const CsvError twice = cases[0].error;
    EXPECT_EQ(formatCsvMessage("list.csv", twice), "list.csv:3: " + cases[0].english);
    EXPECT_EQ(formatCsvMessage("list.csv", twice, german), "list.csv:3: " + cases[0].german);
}

}  // namespace
}  // namespace qzm
