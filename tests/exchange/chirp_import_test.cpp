// SPDX-License-Identifier: GPL-3.0-or-later
// CHIRP CSV import: every Duplex and Tone/CrossMode combination, placeholders,
// skipped rows, --renumber and the file-level checks.
#include <gtest/gtest.h>

#include "channel_values.h"
#include "chirp_test_rows.h"
#include "exchange/chirp_csv.h"

namespace qzm::test {
namespace {

using Values = std::map<std::string, std::string>;

ChirpImportResult importRows(const std::vector<Values>& rows, const RadioImage& base,
                             ChirpImportOptions options = {}) {
    std::string csv = kChirpHeader;
    for (const auto& row : rows) {
        csv += chirpRow(row);
    }
    return importChirpCsv(csv, base, options);
}

ChirpImportResult importOne(const Values& row, int bandIndex = 3) {
    ChirpImportResult result = importRows({row}, freshImage(bandIndex));
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.rows.size(), 1u);
    return result;
}

TEST(ChirpImportTest, DuplexGivesTheTransmitFrequency) {
    struct Case {
        Values row;
        std::string rx, tx;
    };
    const Case cases[] = {
        {{{"Duplex", ""}}, "446.00625", "446.00625"},
        {{{"Duplex", "+"}, {"Offset", "5.000000"}}, "446.00625", "451.00625"},
        {{{"Duplex", "-"}, {"Offset", "10.000000"}}, "446.00625", "436.00625"},
        {{{"Duplex", "split"}, {"Offset", "433.500000"}}, "446.00625", "433.50000"},
        {{{"Duplex", "SPLIT"}, {"Offset", "433.5"}}, "446.00625", "433.50000"},
        {{{"Duplex", "off"}, {"Offset", "junk"}}, "446.00625", ""},
        {{{"Duplex", "Off"}}, "446.00625", ""},
        {{{"Frequency", "146.520000"}, {"Duplex", "-"}, {"Offset", "0.600000"}},
         "146.52000",
         "145.92000"},
    };
    for (const auto& c : cases) {
        const bool twoMetres = c.rx.starts_with("146");
        ChirpImportResult result = importOne(c.row, twoMetres ? 4 : 3);
        ASSERT_EQ(result.rows[0].outcome, ChirpOutcome::Taken) << c.tx;
        EXPECT_EQ(result.image.frequencyText(1, kRx), c.rx);
        EXPECT_EQ(result.image.frequencyText(1, kTx), c.tx);
        EXPECT_EQ(result.rows[0].channel, 1);
    }
}

TEST(ChirpImportTest, ToneModesAndEveryCrossMode) {
    struct Case {
        Values row;
        std::string rxTone, txTone;
    };
    // The tone columns differ from the placeholders so a mix-up shows.
    const Values tones{{"rToneFreq", "100.0"},
                       {"cToneFreq", "123.0"},
                       {"DtcsCode", "754"},
                       {"RxDtcsCode", "131"},
                       {"DtcsPolarity", "RN"}};
    auto with = [&](Values extra) {
        Values row = tones;
        for (auto& [k, v] : extra) {
            row[k] = v;
        }
        return row;
    };
    const Case cases[] = {
        {with({{"Tone", ""}}), "", ""},
        {with({{"Tone", "Tone"}}), "", "100.0"},
        {with({{"Tone", "TSQL"}}), "123.0", "123.0"},
        {with({{"Tone", "DTCS"}}), "D754N", "D754I"},
        {with({{"Tone", "Cross"}, {"CrossMode", "Tone->Tone"}}), "123.0", "100.0"},
        {with({{"Tone", "Cross"}, {"CrossMode", "Tone->DTCS"}}), "D131N", "100.0"},
        {with({{"Tone", "Cross"}, {"CrossMode", "DTCS->Tone"}}), "123.0", "D754I"},
        {with({{"Tone", "Cross"}, {"CrossMode", "DTCS->DTCS"}}), "D131N", "D754I"},
        {with({{"Tone", "Cross"}, {"CrossMode", "Tone->"}}), "", "100.0"},
        {with({{"Tone", "Cross"}, {"CrossMode", "DTCS->"}}), "", "D754I"},
        {with({{"Tone", "Cross"}, {"CrossMode", "->Tone"}}), "123.0", ""},
        {with({{"Tone", "Cross"}, {"CrossMode", "->DTCS"}}), "D131N", ""},
        // Values are compared without case.
        {with({{"Tone", "cross"}, {"CrossMode", "dtcs->tone"}}), "123.0", "D754I"},
        {with({{"Tone", "tsql"}}), "123.0", "123.0"},
    };
    for (const auto& c : cases) {
        ChirpImportResult result = importOne(c.row);
        const std::string label =
            c.row.at("Tone") + " " + (c.row.count("CrossMode") ? c.row.at("CrossMode") : "");
        ASSERT_EQ(result.rows[0].outcome, ChirpOutcome::Taken) << label;
        EXPECT_EQ(result.image.toneText(1, kRx, ""), c.rxTone) << label;
        EXPECT_EQ(result.image.toneText(1, kTx, ""), c.txTone) << label;
    }
}

TEST(ChirpImportTest, PolarityLettersAreTransmitThenReceive) {
    const std::pair<std::string, std::pair<std::string, std::string>> cases[] = {
        {"NN", {"D023N", "D023N"}}, {"NR", {"D023I", "D023N"}}, {"RN", {"D023N", "D023I"}},
        {"RR", {"D023I", "D023I"}}, {"nr", {"D023I", "D023N"}},
    };
    for (const auto& [polarity, tones] : cases) {
        ChirpImportResult result = importOne({{"Tone", "DTCS"}, {"DtcsPolarity", polarity}});
        EXPECT_EQ(result.image.toneText(1, kRx, ""), tones.first) << polarity;
        EXPECT_EQ(result.image.toneText(1, kTx, ""), tones.second) << polarity;
    }
}

TEST(ChirpImportTest, PlaceholdersOfUnusedModesAreNotRead) {
    // Junk where the Tone mode does not look is no reason to skip.
    const Values junk{{"rToneFreq", "x"},  {"cToneFreq", ""},      {"DtcsCode", "999"},
                      {"RxDtcsCode", "q"}, {"DtcsPolarity", "??"}, {"CrossMode", "junk"}};
    for (const std::string mode : {"", "Tone", "TSQL"}) {
        Values row = junk;
        row["Tone"] = mode;
        if (mode == "Tone") {
            row["rToneFreq"] = "88.5";
        }
        if (mode == "TSQL") {
            row["cToneFreq"] = "88.5";
        }
        EXPECT_NE(importOne(row).rows[0].outcome, ChirpOutcome::Skipped) << mode;
    }
}

TEST(ChirpImportTest, CtcssOffTheListMovesOntoTheNearestListToneAndSaysSo) {
    struct Case {
        std::string value;
        ChirpOutcome outcome;
        std::string stored;
    };
    // Only list tones are stored: anything else in the radio's range is moved
    // (and noted), anything outside it is refused.
    const Case cases[] = {
        {"88.5", ChirpOutcome::Taken, "88.5"},       {"88.50", ChirpOutcome::Taken, "88.5"},
        {"88.52", ChirpOutcome::Repaired, "88.5"},   {"88.45", ChirpOutcome::Repaired, "88.5"},
        {"88.56", ChirpOutcome::Repaired, "88.5"},   {"254.15", ChirpOutcome::Repaired, "254.1"},
        {"88.0", ChirpOutcome::Repaired, "88.5"},    {"87.9", ChirpOutcome::Repaired, "88.5"},
        {"86.0", ChirpOutcome::Repaired, "85.4"},    {"88.03", ChirpOutcome::Repaired, "88.5"},
        {"67.0", ChirpOutcome::Taken, "67.0"},       {"66.9", ChirpOutcome::Skipped, ""},
        {"60.0", ChirpOutcome::Skipped, ""},         {"300", ChirpOutcome::Skipped, ""},
        {"88.5001", ChirpOutcome::Repaired, "88.5"},
    };
    for (const auto& c : cases) {
        ChirpImportResult result = importOne({{"Tone", "Tone"}, {"rToneFreq", c.value}});
        EXPECT_EQ(result.rows[0].outcome, c.outcome) << c.value;
        EXPECT_EQ(result.image.toneText(1, kTx, ""), c.stored) << c.value;
        if (c.outcome == ChirpOutcome::Skipped) {
            EXPECT_EQ(result.rows[0].issues.at(0).kind, ChirpIssueKind::UnsupportedTone);
        }
    }
}

TEST(ChirpImportTest, SkippedRowsSayWhyAndChangeNothing) {
    struct Case {
        Values row;
        ChirpIssueKind kind;
        std::string text;  // the English reason
    };
    const Case cases[] = {
        {{{"Location", "17"}},
         ChirpIssueKind::LocationOutside,
         "Location 17 is not one of the channels 1 to 16"},
        {{{"Location", "0"}}, ChirpIssueKind::LocationOutside, ""},
        {{{"Location", "x"}}, ChirpIssueKind::Malformed, "Location: 'x' is not a valid value"},
        {{{"Frequency", "146.520000"}},
         ChirpIssueKind::OutOfBand,
         "Frequency 146.520000 is outside the band 400.00000 to 470.00000"},
        {{{"Frequency", "470.006250"}}, ChirpIssueKind::OutOfBand, ""},
        {{{"Duplex", "+"}, {"Offset", "30.000000"}},
         ChirpIssueKind::TxOutOfBand,
         "the transmit frequency 476.006250 is outside the band 400.00000 to 470.00000"},
        {{{"Frequency", "4x6"}},
         ChirpIssueKind::Malformed,
         "Frequency: '4x6' is not a valid value"},
        {{{"Frequency", ""}}, ChirpIssueKind::Malformed, ""},
        {{{"Duplex", "plus"}}, ChirpIssueKind::Malformed, ""},
        {{{"Duplex", "+"}, {"Offset", ""}}, ChirpIssueKind::Malformed, ""},
        {{{"Mode", "AM"}},
         ChirpIssueKind::UnsupportedMode,
         "Mode: 'AM' has no equivalent in this radio"},
        {{{"Mode", "DV"}}, ChirpIssueKind::UnsupportedMode, ""},
        {{{"Tone", "TSQL-R"}}, ChirpIssueKind::UnsupportedToneMode, ""},
        {{{"Tone", "DTCS-R"}}, ChirpIssueKind::UnsupportedToneMode, ""},
        {{{"Tone", "Beep"}}, ChirpIssueKind::Malformed, ""},
        {{{"Tone", "Cross"}, {"CrossMode", "Tone=>Tone"}}, ChirpIssueKind::Malformed, ""},
        {{{"Tone", "DTCS"}, {"DtcsCode", "024"}}, ChirpIssueKind::UnsupportedTone, ""},
        {{{"Tone", "DTCS"}, {"DtcsCode", "089"}}, ChirpIssueKind::Malformed, ""},
        {{{"Tone", "DTCS"}, {"DtcsPolarity", "NX"}},
         ChirpIssueKind::Malformed,
         "DtcsPolarity: 'NX' is not a valid value"},
        {{{"Skip", "Q"}}, ChirpIssueKind::Malformed, ""},
    };
    RadioImage base = freshImage();
    base.setFrequencyText(1, kRx, "430.00000");
    base.setFrequencyText(1, kTx, "430.00000");
    for (const auto& c : cases) {
        ChirpImportResult result = importRows({c.row}, base);
        const ChirpRow& row = result.rows.at(0);
        EXPECT_EQ(row.outcome, ChirpOutcome::Skipped) << c.text;
        ASSERT_EQ(row.issues.size(), 1u);
        EXPECT_EQ(row.issues[0].kind, c.kind) << c.text;
        if (!c.text.empty()) {
            EXPECT_EQ(formatChirpIssue(chirpIssueEnglish(row.issues[0].kind), row.issues[0]),
                      c.text);
        }
        EXPECT_EQ(result.image.bytes, base.bytes) << c.text;
    }
}

TEST(ChirpImportTest, FrequenciesOffTheGridAreRepaired) {
    ChirpImportResult result =
        importOne({{"Frequency", "446.007000"}, {"Duplex", "+"}, {"Offset", "5.000000"}});
    const ChirpRow& row = result.rows[0];
    EXPECT_EQ(row.outcome, ChirpOutcome::Repaired);
    EXPECT_EQ(result.image.frequencyText(1, kRx), "446.00625");
    EXPECT_EQ(result.image.frequencyText(1, kTx), "451.00625");
    ASSERT_EQ(row.issues.size(), 1u);  // the offset keeps the two a whole offset apart
    EXPECT_EQ(formatChirpIssue(chirpIssueEnglish(row.issues[0].kind), row.issues[0]),
              "Frequency '446.007000' stored on the channel grid as 446.006250");
}

TEST(ChirpImportTest, FlagsFromModeSkipAndPower) {
    struct Case {
        Values row;
        int narrow, col5No, highPower;
    };
    const Case cases[] = {
        {{{"Mode", "FM"}, {"Skip", ""}, {"Power", "5.0W"}}, 0, 0, 1},
        {{{"Mode", "NFM"}, {"Skip", "S"}, {"Power", "1.0W"}}, 1, 1, 0},
        {{{"Mode", "nfm"}, {"Skip", "s"}, {"Power", "high"}}, 1, 1, 1},
        {{{"Skip", "P"}, {"Power", "2W"}}, 0, 0, 1},
        {{{"Power", "1.99 W"}}, 0, 0, 0},
        {{{"Power", "Low"}}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        ChirpImportResult result = importOne(c.row);
        EXPECT_EQ(result.image.narrow(1), c.narrow);
        EXPECT_EQ(result.image.col5No(1), c.col5No);
        EXPECT_EQ(result.image.highPower(1), c.highPower);
    }
}

TEST(ChirpImportTest, LocationsGoToTheirChannelsAndOthersStay) {
    RadioImage base = freshImage();
    base.setFrequencyText(5, kRx, "430.00000");
    base.setFrequencyText(5, kTx, "430.00000");
    base.setFrequencyText(3, kRx, "431.00000");
    base.setFrequencyText(3, kTx, "431.00000");
    ChirpImportResult result = importRows({{{"Location", "3"}, {"Frequency", "440.000000"}},
                                           {{"Location", "16"}, {"Frequency", "441.000000"}},
                                           {{"Location", "3"}, {"Frequency", "442.000000"}}},
                                          base);
    EXPECT_EQ(result.image.frequencyText(3, kRx), "440.00000");
    EXPECT_EQ(result.image.frequencyText(16, kRx), "441.00000");
    EXPECT_EQ(result.image.frequencyText(5, kRx), "430.00000");
    EXPECT_EQ(result.rows[2].outcome, ChirpOutcome::Skipped);
    EXPECT_EQ(formatChirpIssue(chirpIssueEnglish(result.rows[2].issues[0].kind),
                               result.rows[2].issues[0]),
              "channel 3 was already taken from line 2");
}

TEST(ChirpImportTest, RenumberFillsChannelsInFileOrder) {
    std::vector<Values> rows;
    rows.push_back({{"Location", "40"}, {"Frequency", "146.520000"}});  // skipped: no channel used
    for (int i = 0; i < 17; ++i) {
        rows.push_back({{"Location", std::to_string(100 - i)},
                        {"Frequency", "44" + std::to_string(i % 10) + ".000000"}});
    }
    ChirpImportResult result = importRows(rows, freshImage(), ChirpImportOptions{true});
    ASSERT_EQ(result.rows.size(), 18u);
    EXPECT_EQ(result.rows[0].outcome, ChirpOutcome::Skipped);
    for (int i = 1; i <= 16; ++i) {
        EXPECT_EQ(result.rows[static_cast<std::size_t>(i)].channel, i);
    }
    EXPECT_EQ(result.image.frequencyText(1, kRx), "440.00000");
    EXPECT_EQ(result.image.frequencyText(12, kRx), "441.00000");
    EXPECT_EQ(result.rows[17].issues.at(0).kind, ChirpIssueKind::NoChannelLeft);
}

TEST(ChirpImportTest, HeaderRules) {
    // Location and Frequency alone, in another order, lower case, with a BOM
    // and a column of its own.
    ChirpImportResult small = importChirpCsv(
        "\xEF\xBB\xBF"
        "frequency,Extra,LOCATION\n446.5,x,2\n",
        freshImage());
    ASSERT_FALSE(small.error);
    EXPECT_EQ(small.rows.at(0).outcome, ChirpOutcome::Taken);
    EXPECT_EQ(small.image.frequencyText(2, kTx), "446.50000");
    EXPECT_TRUE(
        looksLikeChirpCsv("\xEF\xBB\xBF"
                          "Location,Frequency\n"));
    EXPECT_FALSE(looksLikeChirpCsv("channel,rx_freq,rx_tone\n"));

    EXPECT_TRUE(importChirpCsv("Location,Name\n1,a\n", freshImage()).error);
    EXPECT_TRUE(importChirpCsv("Location,Frequency,location\n", freshImage()).error);
    EXPECT_TRUE(importChirpCsv("Location,Frequency\n1,\"446\n", freshImage()).error);

    ChirpImportResult ragged =
        importChirpCsv("Location,Frequency,Name\n1,446.0\n\n2,446.5,Home\n", freshImage());
    ASSERT_EQ(ragged.rows.size(), 2u);  // the empty line is no row
    EXPECT_EQ(ragged.rows[0].issues.at(0).kind, ChirpIssueKind::FieldCount);
    EXPECT_EQ(ragged.rows[1].outcome, ChirpOutcome::Taken);
    EXPECT_TRUE(ragged.namesDropped);
}

// As CHIRP's reader: blank fields beyond the header's are ignored, anything else in
// them still makes the row ragged; CR, LF and CR LF all end a row.
TEST(ChirpImportTest, BlankTrailingFieldsAndLineEnds) {
    struct Case {
        std::string tail;
        std::size_t fields;  // 0: taken
    };
    const Case cases[] = {{",", 0}, {", ,\t,", 0}, {",x", 4}, {",,x", 5}};
    for (const Case& c : cases) {
        for (const std::string end : {"\r", "\n", "\r\n"}) {
            const std::string csv = "Location,Frequency,Name" + end + "1,446.5,Home" + c.tail +
                                    end + "2,446.6,Work" + c.tail + end;
            ChirpImportResult result = importChirpCsv(csv, freshImage());
            ASSERT_FALSE(result.error) << c.tail;
            ASSERT_EQ(result.rows.size(), 2u) << c.tail;
            for (const ChirpRow& row : result.rows) {
                if (c.fields == 0) {
                    EXPECT_EQ(row.outcome, ChirpOutcome::Taken) << c.tail;
                } else {
                    ASSERT_EQ(row.outcome, ChirpOutcome::Skipped) << c.tail;
                    EXPECT_EQ(row.issues.at(0).kind, ChirpIssueKind::FieldCount);
                    EXPECT_EQ(row.issues.at(0).args.at(0), std::to_string(c.fields));
                }
            }
            EXPECT_EQ(result.rows[1].line, 3u);
        }
    }
}

}  // namespace
}  // namespace qzm::test
