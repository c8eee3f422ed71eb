// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "lang/known_keys.h"
#include "lang/language_sections.h"
#include "lang/text_lookup.h"
#include "platform/profile.h"
#include "platform/settings.h"
#include "platform/utf8_text.h"

namespace qzm {
namespace {

const std::filesystem::path kResources = std::filesystem::path(QZM_TEST_SOURCE_DIR) / "res";

// Tooltips are cut to this many characters when shown.
constexpr std::size_t kTooltipCharacters = 19;

class ShippedLanguageFile : public testing::TestWithParam<const char*> {
  protected:
    std::filesystem::path file() const { return kResources / GetParam(); }

    // The raw value, so an entry that is present but over its limit is caught
    // rather than silently cut.
    std::string raw(std::string_view section, std::string_view key) const {
        return readProfileValue(file(), section, key).value_or("");
    }
};

TEST_P(ShippedLanguageFile, HasEveryStringKey) {
    for (const auto key : knownStringKeys()) {
        const auto value = raw(kStringSection, key);
        EXPECT_FALSE(value.empty()) << key;
        EXPECT_LE(countCharacters(value), kMaxStringCharacters) << key;
        if (key.starts_with("IDS_TIP_")) {
            EXPECT_LE(countCharacters(lookupTextIn(file(), key)), kTooltipCharacters) << key;
        }
    }
}

TEST_P(ShippedLanguageFile, HasEveryResourceCaption) {
    for (const int id : knownResourceIds()) {
        const auto value = raw(kResourceSection, std::to_string(id));
        EXPECT_FALSE(value.empty()) << id;
        EXPECT_LE(countCharacters(value), kMaxResourceCharacters) << id;
    }
}

TEST_P(ShippedLanguageFile, HasEveryDirectlyReadEntry) {
    for (const auto& entry : knownOtherEntries()) {
        const auto value = raw(entry.section, entry.key);
        EXPECT_FALSE(value.empty()) << entry.section << "/" << entry.key;
        const auto limit =
            entry.section == kFaceSection ? kMaxDisplayNameCharacters : kMaxLanguageListCharacters;
        EXPECT_LE(countCharacters(value), limit) << entry.section << "/" << entry.key;
    }
    // The lists hold exactly as many entries as the fields have values.
    EXPECT_EQ(languageList(file(), kVoiceAnnunciationSection).size(), 2u);
    EXPECT_EQ(languageList(file(), kMonitorKeySection).size(), 4u);
    EXPECT_EQ(languageList(file(), kScanModeSection).size(), 2u);
}

TEST_P(ShippedLanguageFile, MenuItemsWithShortcutsShowThem) {
    const std::pair<const char*, const char*> shortcuts[] = {
        {"Menu_File_New", "\tCtrl+N"},         {"Menu_File_Open", "\tCtrl+O"},
        {"Menu_File_Save", "\tCtrl+S"},        {"Menu_File_Print", "\tCtrl+P"},
        {"Menu_Program_ReadData", "\tCtrl+R"}, {"Menu_Program_WriteData", "\tCtrl+W"},
        {"Menu_Setting_Port", "\tCtrl+C"},     {"Menu_Setting_Language", "\tCtrl+L"},
    };
    for (const auto& [key, hint] : shortcuts) {
        EXPECT_TRUE(lookupTextIn(file(), key).ends_with(hint)) << key;
    }
}

TEST_P(ShippedLanguageFile, KeepsPlaceholders) {
    EXPECT_NE(lookupTextIn(file(), "IDS_ASK_SAVE_CHANGES").find("%1"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguageFile,
                         testing::Values("english.lang", "chinese.lang"));

TEST(KnownKeys, HaveNoDuplicates) {
    std::set<std::string_view> strings;
    for (const auto key : knownStringKeys()) {
        EXPECT_TRUE(strings.insert(key).second) << key;
    }
    std::set<int> ids;
    for (const int id : knownResourceIds()) {
        EXPECT_TRUE(ids.insert(id).second) << id;
    }
}

TEST(ShippedSettings, StartsWithTheDefaults) {
    const auto file = kResources / "setting.ini";
    EXPECT_EQ(readLanguageSetting(file), "");
    EXPECT_EQ(readComPort(file), 1);
    EXPECT_TRUE(readSearchComEnabled(file));
    // One distinct name per band index.
    const auto names = readBandNames(file);
    ASSERT_EQ(names.size(), 7u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 7u);
    EXPECT_EQ(names[3], "400-470 MHz");
    // The example port map stays commented out.
    EXPECT_FALSE(readProfileValue(file, "ports", "COM1"));
}

}  // namespace
}  // namespace qzm
