// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/utf8_text.h"

#include <gtest/gtest.h>

namespace qzm {
namespace {

struct CutCase {
    const char* text;
    std::size_t limit;
    const char* expected;
};

TEST(Utf8Text, CutsByCharactersNeverInsideASequence) {
    const CutCase cases[] = {
        {"", 5, ""},
        {"abc", 5, "abc"},
        {"abcdef", 3, "abc"},
        {"abc", 0, ""},
        // "语言转换" is four three-byte characters.
        {"\xE8\xAF\xAD\xE8\xA8\x80\xE8\xBD\xAC\xE6\x8D\xA2", 2, "\xE8\xAF\xAD\xE8\xA8\x80"},
        {"a\xC3\xA9z", 2, "a\xC3\xA9"},
        // A lead byte without its continuation counts as one character.
        {"\xE8\xAF"
         "x",
         1, "\xE8"},
        {"\xFF\xFE"
         "ab",
         3,
         "\xFF\xFE"
         "a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cutToCharacters(c.text, c.limit), c.expected) << c.text << " limit " << c.limit;
    }
}

TEST(Utf8Text, CountsCharacters) {
    EXPECT_EQ(countCharacters(""), 0u);
    EXPECT_EQ(countCharacters("COM1"), 4u);
    EXPECT_EQ(countCharacters("\xE5\x85\xB3\xE4\xBA\x8E Zavo"), 7u);
    EXPECT_EQ(countCharacters("\xF0\x9F\x93\xBB"), 1u);
    EXPECT_EQ(countCharacters("\x80\x80"), 2u);
}

}  // namespace
}  // namespace qzm
