// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/text_lookup.h"

#include <gtest/gtest.h>

#include "test_files.h"
#include "lang/language_sections.h"
#include "platform/program_paths.h"

namespace qzm {
namespace {

using test::TempDir;
using test::writeFile;

TEST(TextLookup, ExpandsLineBreaksThenTabs) {
    struct Case {
        const char* raw;
        const char* expanded;
    };
    const Case cases[] = {
        {"plain", "plain"},      {"one\\ntwo", "one\ntwo"}, {"&New\\tCtrl+N", "&New\tCtrl+N"},
        {"\\n\\t\\n", "\n\t\n"}, {"C:\\temp", "C:\temp"},  // a lone \t is a tab, whatever was meant
        {"\\\\n", "\\\n"},                                 // the second backslash pairs with n
        {"\\x\\", "\\x\\"},      {"end\\", "end\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(expandTextEscapes(c.raw), c.expanded) << c.raw;
    }
}

TEST(TextLookup, MissingFileSectionOrKeyIsNotFound) {
    TempDir dir;
    writeFile(dir / "a.lang", "[Resource]\nIDS_WINDOWNAME=wrong section\n[String]\nIDS_OFF=Off\n");
    EXPECT_EQ(lookupTextIn(dir / "a.lang", "IDS_WINDOWNAME"), "Not Found");
    EXPECT_EQ(lookupTextIn(dir / "a.lang", "IDS_OFF"), "Off");
    EXPECT_EQ(lookupTextIn(dir / "none.lang", "IDS_OFF"), "Not Found");
    EXPECT_EQ(resourceTextIn(dir / "none.lang", 1), "");
}

TEST(TextLookup, NamesMatchWithoutCase) {
    TempDir dir;
    writeFile(dir / "a.lang", "[string]\nids_windowname = Radio \\n Tool \n[RESOURCE]\n1=OK\\n\n");
    EXPECT_EQ(lookupTextIn(dir / "a.lang", "IDS_WINDOWNAME"), "Radio \n Tool");
    // Resource captions take no escapes.
    EXPECT_EQ(resourceTextIn(dir / "a.lang", 1), "OK\\n");
}

TEST(TextLookup, LongValuesAreCutByCharactersBeforeEscapes) {
    TempDir dir;
    const std::string han = "\xE4\xB8\xAD";  // one character, three bytes
    std::string longText;
    for (int i = 0; i < 1200; ++i) {
        longText += han;
    }
    writeFile(dir / "a.lang", "[String]\nk=" + longText + "\nesc=" + std::string(998, 'a') +
                                  "\\n\n[Resource]\n5=" + longText + "\n");
    const auto text = lookupTextIn(dir / "a.lang", "k");
    EXPECT_EQ(text.size(), 999u * han.size());
    EXPECT_EQ(text.substr(0, 3), han);
    // 998 letters and the backslash fit; the n is cut, so no line break appears.
    EXPECT_EQ(lookupTextIn(dir / "a.lang", "esc"), std::string(998, 'a') + "\\");
    EXPECT_EQ(resourceTextIn(dir / "a.lang", 5).size(), 1023u * han.size());
}

TEST(TextLookup, BrokenLanguageFileGivesDefaults) {
    TempDir dir;
    std::string junk;
    for (int i = 0; i < 200000; ++i) {
        junk += static_cast<char>((i * 131) % 256);
    }
    writeFile(dir / "broken.lang", junk);
    EXPECT_EQ(lookupTextIn(dir / "broken.lang", "IDS_WINDOWNAME"), "Not Found");
    EXPECT_EQ(languageDisplayName(dir / "broken.lang"), "-----");
    EXPECT_TRUE(languageList(dir / "broken.lang", "ScanMode").empty());
    // A language file path that names a folder reads like a missing file.
    EXPECT_EQ(lookupTextIn(dir.path(), "IDS_OFF"), "Not Found");
}

TEST(TextLookup, FollowsTheCurrentLanguagePath) {
    TempDir dir;
    writeFile(dir / "english.lang", "[String]\nIDS_YES=Yes\n[Resource]\n131=Language\n");
    writeFile(dir / "chinese.lang", "[String]\nIDS_YES=\xE6\x98\xAF\n");
    setLanguagePath(dir / "english.lang");
    EXPECT_EQ(lookupText("IDS_YES"), "Yes");
    EXPECT_EQ(resourceText(131), "Language");
    setLanguagePath(dir / "chinese.lang");
    EXPECT_EQ(lookupText("IDS_YES"), "\xE6\x98\xAF");
    EXPECT_EQ(resourceText(131), "");
    // Nothing is cached: a changed file is seen by the next lookup.
    writeFile(dir / "chinese.lang", "[String]\nIDS_YES=Y\n");
    EXPECT_EQ(lookupText("IDS_YES"), "Y");
}

TEST(LanguageSections, ListsEndAtTheFirstMissingOrEmptyKey) {
    struct Case {
        const char* section;
        std::vector<std::string> expected;
    };
    TempDir dir;
    writeFile(dir / "a.lang",
              "[MonitorKey]\n0=Monitor\n1=Scan\n3=Alarm\n"
              "[ScanMode]\n0=\n1=Carrier\n"
              "[VoiceAnnunciation]\n1=English\n0=Chinese\n"
              "[ChText]\n0=not a list\n"
              "[Long]\n0=" +
                  std::string(40, 'x') + "\n");
    const Case cases[] = {
        {"MonitorKey", {"Monitor", "Scan"}},
        {"ScanMode", {}},
        {"VoiceAnnunciation", {"Chinese", "English"}},  // file order does not matter
        {"Long", {std::string(29, 'x')}},
        {"Absent", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(languageList(dir / "a.lang", c.section), c.expected) << c.section;
    }
}

TEST(LanguageSections, ColumnTitlesRepeatThePreviousOneWhenMissing) {
    TempDir dir;
    writeFile(dir / "a.lang",
              "[ChText]\nIDS_ChText1=RX\nIDS_ChText2=\nIDS_ChText3=TX\nIDS_ChText4=" +
                  std::string(35, 'T') + "\n");
    const auto titles = columnTitles(dir / "a.lang");
    const std::string longTitle(29, 'T');
    const std::array<std::string, 10> expected = {
        "", "RX", "RX", "TX", longTitle, longTitle, longTitle, longTitle, longTitle, longTitle};
    EXPECT_EQ(titles, expected);
}

TEST(LanguageSections, DisplayName) {
    TempDir dir;
    writeFile(dir / "a.lang", "[Face]\ndisp=" + std::string(120, 'n') + "\n");
    EXPECT_EQ(languageDisplayName(dir / "a.lang"), std::string(99, 'n'));
    writeFile(dir / "a.lang", "[Face]\ndisp=\n");
    EXPECT_EQ(languageDisplayName(dir / "a.lang"), "");
    writeFile(dir / "a.lang", "[String]\ndisp=x\n");
    EXPECT_EQ(languageDisplayName(dir / "a.lang"), "-----");
}

TEST(LanguageSections, FaceLocaleOrEmptyForTheSystemLocale) {
    TempDir dir;
    writeFile(dir / "a.lang", "[Face]\ndisp=x\nlocale=zh_CN\n");
    EXPECT_EQ(faceLocale(dir / "a.lang"), "zh_CN");
    setLanguagePath(dir / "a.lang");
    EXPECT_EQ(faceLocale(), "zh_CN");
    writeFile(dir / "a.lang", "[Face]\ndisp=x\n[String]\nlocale=en_GB\n");
    EXPECT_EQ(faceLocale(), "");
    EXPECT_EQ(faceLocale(dir / "missing.lang"), "");
}

}  // namespace
}  // namespace qzm
