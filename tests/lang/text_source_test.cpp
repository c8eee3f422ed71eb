// SPDX-License-Identifier: GPL-3.0-or-later
// The window's texts and the command line's come from one lookup, so the same
// language file gives both the same words.
#include <gtest/gtest.h>

#include <string>

#include "lang/text_lookup.h"
#include "platform/program_paths.h"
#include "platform/text_source.h"
#include "test_files.h"

namespace qzm {
namespace {

using test::TempDir;
using test::writeFile;

TEST(TextSource, WindowAndCommandLineReadTheSameFileAlike) {
    TempDir dir;
    const auto file = dir / "test.lang";
    writeFile(file, "[String]\nIDS_YES=Ja\nIDS_CONFIRM=Wirklich?\\nSicher?\\tJa\nIDS_OFF=\n");
    const auto saved = languagePath();
    setLanguagePath(file);
    const TextSource window = currentLanguageTexts();
    const TextSource cli = languageFileTexts(file);
    const struct {
        const char* key;
        const char* text;
    } cases[] = {
        {"IDS_YES", "Ja"},
        {"ids_yes", "Ja"},
        {"IDS_CONFIRM", "Wirklich?\nSicher?\tJa"},
        {"IDS_OFF", ""},
        {"IDS_MISSING", "Not Found"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(window(c.key), c.text) << c.key;
        EXPECT_EQ(cli(c.key), c.text) << c.key;
    }
    setLanguagePath(saved);
}

}  // namespace
}  // namespace qzm
