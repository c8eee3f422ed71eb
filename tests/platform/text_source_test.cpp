// SPDX-License-Identifier: GPL-3.0-or-later
// A text with a built-in fallback: a language that lacks the key never shows "Not Found".
#include "platform/text_source.h"

#include <gtest/gtest.h>

#include "test_language.h"

namespace qzm {
namespace {

TEST(TextSource, TextOrFallsBackWhenTheLanguageLacksTheKey) {
    const TextSource language =
        test::languageWith({{"IDS_YES", "Ja"}, {"IDS_OFF", ""}, {"IDS_GONE", "Not Found"}});
    const struct {
        const char* key;
        const char* text;
    } cases[] = {
        {"IDS_YES", "Ja"},
        {"IDS_OFF", "fallback"},
        {"IDS_GONE", "fallback"},
        {"IDS_ABSENT", "fallback"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textOr(language, c.key, "fallback"), c.text) << c.key;
    }
    // No texts at all, as a caller without a language file passes.
    EXPECT_EQ(textOr(TextSource(), "IDS_YES", "fallback"), "fallback");
}

}  // namespace
}  // namespace qzm
