// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/csv.h"

#include <gtest/gtest.h>

namespace qzm {
namespace {

using Fields = std::vector<std::string>;

TEST(CsvTest, ReadsRecordsAndTheLinesTheyStartOn) {
    struct Case {
        std::string text;
        std::vector<std::pair<std::size_t, Fields>> records;
    };
    const Case cases[] = {
        {"a,b\r\nc,d\r\n", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"a,b\nc,d", {{1, {"a", "b"}}, {2, {"c", "d"}}}},  // no final line end
        {"\xEF\xBB\xBF"
         "a,\n",
         {{1, {"a", ""}}}},  // BOM, empty last field
        {"\"x,y\",\"say \"\"hi\"\"\"\n", {{1, {"x,y", "say \"hi\""}}}},
        {"\"two\nlines\",z\nnext\n", {{1, {"two\nlines", "z"}}, {3, {"next"}}}},
        {"\n\r\na\n\nb\n", {{3, {"a"}}, {5, {"b"}}}},  // empty lines are no records
        {",,\n", {{1, {"", "", ""}}}},
        // CR alone, LF and CR LF all end a line, in any mix.
        {"a,b\rc,d\r", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"a\rb,c\n", {{1, {"a"}}, {2, {"b", "c"}}}},
        {"\rb\r", {{2, {"b"}}}},
        {"a\r\rb\r\nc\nd", {{1, {"a"}}, {3, {"b"}}, {4, {"c"}}, {5, {"d"}}}},
        {"x,\"\"\ry\r", {{1, {"x", ""}}, {2, {"y"}}}},  // after a closing quote
        // Inside quotes a CR is data and counts a line; CR LF counts one.
        {"\"two\rlines\",z\rnext\r", {{1, {"two\rlines", "z"}}, {3, {"next"}}}},
        {"\"a\r\nb\"\rc\r", {{1, {"a\r\nb"}}, {3, {"c"}}}},
        {"\xEF\xBBx\n", {{1, {"\xEF\xBBx"}}}},  // the start of a byte-order mark is data
    };
    for (const auto& c : cases) {
        // At once, and byte by byte as a slow pipe delivers it.
        CsvStreamParser stream;
        for (char byte : c.text) {
            stream.feed(std::string_view(&byte, 1));
        }
        for (CsvParseResult result : {parseCsv(c.text), stream.finish()}) {
            ASSERT_FALSE(result.error) << c.text << ": " << result.error->message;
            ASSERT_EQ(result.records.size(), c.records.size()) << c.text;
            for (std::size_t i = 0; i < c.records.size(); ++i) {
                EXPECT_EQ(result.records[i].line, c.records[i].first) << c.text;
                EXPECT_EQ(result.records[i].fields, c.records[i].second) << c.text;
            }
        }
    }
}

TEST(CsvTest, WrittenRecordsReadBackUnchanged) {
    const Fields fields{"plain", "", "with,comma", "with \"quote\"", "two\r\nlines", " padded "};
    const std::string text = formatCsvRecord(fields);
    EXPECT_EQ(text.substr(0, 7), "plain,,");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    CsvParseResult result = parseCsv(text + text);
    ASSERT_FALSE(result.error);
    ASSERT_EQ(result.records.size(), 2u);
    EXPECT_EQ(result.records[0].fields, fields);
    EXPECT_EQ(result.records[1].fields, fields);
    EXPECT_EQ(result.records[1].line, 3u);
}

}  // namespace
}  // namespace qzm
