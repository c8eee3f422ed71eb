// SPDX-License-Identifier: GPL-3.0-or-later
// CHIRP CSV export, and export followed by import.
#include <gtest/gtest.h>

#include "channel_values.h"
#include "chirp_test_rows.h"
#include "exchange/chirp_csv.h"
#include "exchange/csv.h"

namespace qzm::test {
namespace {

void setChannel(RadioImage& image, int n, const std::string& rx, const std::string& tx,
                const std::string& rxTone, const std::string& txTone) {
    image.setFrequencyText(n, kRx, rx);
    image.setFrequencyText(n, kTx, tx);
    image.setToneText(n, kRx, rxTone);
    image.setToneText(n, kTx, txTone);
}

// Fields of the exported record of `channel` by column name.
std::map<std::string, std::string> exportedRow(const std::string& csv, int channel) {
    const CsvParseResult parsed = parseCsv(csv);
    EXPECT_FALSE(parsed.error);
    const auto& header = parsed.records.at(0).fields;
    for (const auto& record : parsed.records) {
        if (record.fields.at(0) == std::to_string(channel)) {
            std::map<std::string, std::string> row;
            for (std::size_t i = 0; i < header.size(); ++i) {
                row[header[i]] = record.fields.at(i);
            }
            return row;
        }
    }
    ADD_FAILURE() << "no row for channel " << channel;
    return {};
}

TEST(ChirpExportTest, DuplexOffsetAndToneColumns) {
    struct Case {
        std::string rx, tx, rxTone, txTone;
        std::map<std::string, std::string> expected;
    };
    const Case cases[] = {
        {"446.00625", "446.00625", "", "", {{"Duplex", ""}, {"Offset", "0.000000"}, {"Tone", ""}}},
        {"446.00625",
         "451.00625",
         "",
         "100.0",
         {{"Duplex", "+"}, {"Offset", "5.000000"}, {"Tone", "Tone"}, {"rToneFreq", "100.0"}}},
        {"446.00000",
         "436.00000",
         "123.0",
         "123.0",
         {{"Duplex", "-"},
          {"Offset", "10.000000"},
          {"Tone", "TSQL"},
          {"cToneFreq", "123.0"},
          {"rToneFreq", "88.5"}}},
        {"446.00000",
         "435.99500",
         "",
         "",
         {{"Duplex", "split"}, {"Offset", "435.995000"}}},  // more than 10 MHz apart
        {"446.00625",
         "446.00000",
         "",
         "",
         {{"Duplex", "split"}, {"Offset", "446.000000"}}},  // not whole 5 kHz steps
        {"446.00625",
         "",
         "D023I",
         "",
         {{"Duplex", "off"},
          {"Tone", "Cross"},
          {"CrossMode", "->DTCS"},
          {"RxDtcsCode", "023"},
          {"DtcsPolarity", "NR"}}},
        {"446.00625",
         "446.00625",
         "D754I",
         "D754N",
         {{"Tone", "DTCS"}, {"DtcsCode", "754"}, {"DtcsPolarity", "NR"}, {"RxDtcsCode", "023"}}},
        {"446.00625",
         "446.00625",
         "D131N",
         "D754I",
         {{"Tone", "Cross"},
          {"CrossMode", "DTCS->DTCS"},
          {"DtcsCode", "754"},
          {"RxDtcsCode", "131"},
          {"DtcsPolarity", "RN"}}},
        {"446.00625",
         "446.00625",
         "67.0",
         "254.1",
         {{"Tone", "Cross"},
          {"CrossMode", "Tone->Tone"},
          {"rToneFreq", "254.1"},
          {"cToneFreq", "67.0"}}},
        {"446.00625",
         "446.00625",
         "D023N",
         "88.5",
         {{"Tone", "Cross"}, {"CrossMode", "Tone->DTCS"}, {"rToneFreq", "88.5"}}},
        {"446.00625",
         "446.00625",
         "100.0",
         "D023N",
         {{"Tone", "Cross"}, {"CrossMode", "DTCS->Tone"}, {"cToneFreq", "100.0"}}},
        {"446.00625", "446.00625", "", "D023N", {{"Tone", "Cross"}, {"CrossMode", "DTCS->"}}},
        {"446.00625", "446.00625", "100.0", "", {{"Tone", "Cross"}, {"CrossMode", "->Tone"}}},
    };
    for (const auto& c : cases) {
        RadioImage image = freshImage();
        setChannel(image, 4, c.rx, c.tx, c.rxTone, c.txTone);
        const ChirpExportResult exported = exportChirpCsv(image);
        EXPECT_TRUE(exported.notes.empty());
        EXPECT_TRUE(exported.csv.starts_with(kChirpHeader));
        auto row = exportedRow(exported.csv, 4);
        EXPECT_EQ(row["Frequency"], c.rx + "0");
        for (const auto& [column, value] : c.expected) {
            EXPECT_EQ(row[column], value)
                << column << " of " << c.rx << "/" << c.tx << " " << c.rxTone << "/" << c.txTone;
        }
    }
}

TEST(ChirpExportTest, FlagsAndOnlyProgrammedChannels) {
    RadioImage image = freshImage();
    setChannel(image, 2, "430.00000", "430.00000", "", "");
    image.setNarrow(2, 1);
    image.setCol5No(2, 1);
    image.setHighPower(2, 0);
    setChannel(image, 9, "431.00000", "431.00000", "", "");
    const std::string csv = exportChirpCsv(image).csv;
    EXPECT_EQ(parseCsv(csv).records.size(), 3u);
    auto narrow = exportedRow(csv, 2);
    EXPECT_EQ(narrow["Mode"], "NFM");
    EXPECT_EQ(narrow["Skip"], "S");
    EXPECT_EQ(narrow["Power"], "1.0W");
    auto wide = exportedRow(csv, 9);
    EXPECT_EQ(wide["Mode"], "FM");
    EXPECT_EQ(wide["Skip"], "");
    EXPECT_EQ(wide["Power"], "5.0W");
}

TEST(ChirpExportTest, ValuesTheFormatCannotCarryAreNoted) {
    RadioImage image = freshImage();
    setChannel(image, 1, "446.00000", "446.00000", "D024N", "88.0");  // off-list DCS, CTCSS 88.0
    image.setFrequencyText(2, kRx, "446.00000");
    image.bytes[2 * 16 + 1] = 0xA0;  // a nibble that is no digit
    const ChirpExportResult exported = exportChirpCsv(image);
    ASSERT_EQ(exported.notes.size(), 2u);
    EXPECT_EQ(formatChirpIssue(chirpIssueEnglish(exported.notes[0].kind), exported.notes[0]),
              "channel 1: the tone D024N cannot be written in this format and was left out");
    EXPECT_EQ(exported.notes[1].kind, ChirpIssueKind::ChannelNotExported);
    auto row = exportedRow(exported.csv, 1);
    EXPECT_EQ(row["Tone"], "Tone");  // 88.0 is carried, the DCS code is not
    EXPECT_EQ(row["rToneFreq"], "88.0");
}

TEST(ChirpExportTest, ExportThenImportReproducesEveryChannel) {
    for (int band : {3, 4}) {
        RadioImage original = freshImage(band);
        const bool uhf = band == 3;
        // List tones only: one off the lists (88.0) is exported as it is but
        // comes back as the nearest list tone (the import tests show that).
        const std::string tones[] = {"",      "67.0",  "88.5",  "254.1", "D023N",
                                     "D754I", "D131N", "100.0", "D025I"};
        for (int n = 1; n <= 15; ++n) {
            // Odd channels on the 6.25 kHz grid, even ones on the 5 kHz grid.
            const std::int64_t rxUnits =
                (uhf ? 40'000'000 : 13'600'000) + n * 100'000 + (n % 2 != 0 ? 625 : 500);
            char rx[16];
            std::snprintf(rx, sizeof rx, "%lld.%05lld", static_cast<long long>(rxUnits / 100000),
                          static_cast<long long>(rxUnits % 100000));
            original.setFrequencyText(n, kRx, rx);
            const std::string txs[] = {rx, "", uhf ? "469.99375" : "173.99500",
                                       uhf ? "400.00000" : "136.00000"};
            original.setFrequencyText(n, kTx, txs[n % 4]);
            original.setToneText(n, kRx, tones[n % 9]);
            if (n % 4 != 1) {
                original.setToneText(n, kTx, tones[(n * 5) % 9]);
            }
            original.setNarrow(n, n % 2);
            original.setHighPower(n, n % 3 == 0 ? 0 : 1);
            original.setCol5No(n, n % 5 == 0 ? 1 : 0);
        }
        const ChirpExportResult exported = exportChirpCsv(original);
        ASSERT_TRUE(exported.notes.empty());
        const ChirpImportResult imported = importChirpCsv(exported.csv, freshImage(band));
        ASSERT_FALSE(imported.error);
        EXPECT_EQ(imported.count(ChirpOutcome::Taken), 15u);
        EXPECT_EQ(imported.image.bytes, original.bytes) << "band " << band;
    }
}

}  // namespace
}  // namespace qzm::test
