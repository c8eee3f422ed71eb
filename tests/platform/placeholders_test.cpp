// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/placeholders.h"

#include <gtest/gtest.h>

namespace qzm {
namespace {

TEST(Placeholders, FillInTheLanguagesOrderAndNeverTwice) {
    struct Case {
        std::string pattern;
        std::vector<std::string> values;
        std::string filled;
    };
    const Case cases[] = {
        {"%1 values in channel %2", {"3", "2 and 5"}, "3 values in channel 2 and 5"},
        {"第%2道的%1个值", {"3", "2"}, "第2道的3个值"},  // the language's own order
        {"%1: %2", {"a%2b", "c"}, "a%2b: c"},            // a value is never filled in again
        {"%3 and 100%", {"x"}, "%3 and 100%"},           // nothing to fill: left as written
        {"", {"x"}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fillPlaceholders(c.pattern, c.values), c.filled) << c.pattern;
    }
}

}  // namespace
}  // namespace qzm
