// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/language_files.h"

#include <gtest/gtest.h>

#include "test_files.h"
#include "platform/program_paths.h"
#include "platform/settings.h"

namespace qzm {
namespace {

using test::TempDir;
using test::writeFile;

std::vector<std::string> fileNames(const std::vector<LanguageFile>& listing) {
    std::vector<std::string> names;
    for (const auto& file : listing) {
        names.push_back(file.path.filename().string() + ":" + file.displayName);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(LanguageFiles, ListsOnlyLanguageFilesWithTheirNames) {
    TempDir dir;
    writeFile(dir / "english.lang", "[Face]\ndisp=English\n");
    writeFile(dir / "plain.lang", "[String]\nIDS_OFF=Off\n");
    writeFile(dir / "hidden.lang", "[Face]\ndisp=\n");
    writeFile(dir / "notes.txt", "[Face]\ndisp=Notes\n");
    writeFile(dir / "upper.LANG", "[Face]\ndisp=Upper\n");
    writeFile(dir / "old.lang.bak", "[Face]\ndisp=Old\n");
    writeFile(dir / ".lang", "[Face]\ndisp=Nameless\n");
    std::filesystem::create_directory(dir / "folder.lang");
    writeFile(dir / "folder.lang" / "inner.lang", "[Face]\ndisp=Inner\n");

    EXPECT_EQ(fileNames(listLanguageFiles(dir.path())),
              (std::vector<std::string>{"english.lang:English", "plain.lang:-----"}));
    EXPECT_TRUE(listLanguageFiles(dir / "missing").empty());
}

TEST(LanguageFiles, UsersFolderAddsAndReplacesShippedFiles) {
    TempDir shipped;
    TempDir user;
    writeFile(shipped / "english.lang", "[Face]\ndisp=English\n");
    writeFile(shipped / "chinese.lang", "[Face]\ndisp=Chinese\n");
    writeFile(user / "english.lang", "[Face]\ndisp=My English\n");
    writeFile(user / "deutsch.lang", "[Face]\ndisp=Deutsch\n");
    const std::vector<std::filesystem::path> folders{shipped.path(), user.path(), user / "missing"};

    const auto listing = listLanguageFiles(folders);
    EXPECT_EQ(fileNames(listing),
              (std::vector<std::string>{"chinese.lang:Chinese", "deutsch.lang:Deutsch",
                                        "english.lang:My English"}));
    for (const auto& file : listing) {
        EXPECT_EQ(file.path.parent_path(),
                  file.displayName == "Chinese" ? shipped.path() : user.path());
    }
    // Shipped files keep their order; the user's own come after them.
    const auto paths = languageFilePaths(folders);
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths.back(), user / "deutsch.lang");
}

TEST(LanguageFiles, DialogChoiceTakesTheFirstExactDisplayName) {
    const std::vector<LanguageFile> listing = {
        {"/p/b.lang", "English"},
        {"/p/a.lang", "English"},
        {"/p/c.lang", "Deutsch"},
    };
    EXPECT_EQ(chooseLanguageByDisplayName(listing, "English"), std::filesystem::path("/p/b.lang"));
    EXPECT_EQ(chooseLanguageByDisplayName(listing, "Deutsch"), std::filesystem::path("/p/c.lang"));
    EXPECT_FALSE(chooseLanguageByDisplayName(listing, "english"));
    EXPECT_FALSE(chooseLanguageByDisplayName(listing, ""));

    EXPECT_EQ(currentLanguageIndex(listing, "/P/C.LANG"), 2u);
    EXPECT_EQ(currentLanguageIndex(listing, "/p/a.lang"), 1u);
    EXPECT_FALSE(currentLanguageIndex(listing, "/p/x.lang"));
    EXPECT_FALSE(currentLanguageIndex(listing, "/p/c.lan"));
}

TEST(LanguageFiles, NextLanguageWrapsAround) {
    const std::vector<std::filesystem::path> files = {"/p/a.lang", "/p/b.lang", "/p/c.lang"};
    struct Case {
        const char* current;
        const char* next;
    };
    const Case cases[] = {
        {"/p/a.lang", "/p/b.lang"}, {"/p/b.lang", "/p/c.lang"},  {"/p/c.lang", "/p/a.lang"},
        {"/P/B.Lang", "/p/c.lang"}, {"/p/zz.lang", "/p/a.lang"}, {"", "/p/a.lang"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nextLanguageFile(files, c.current), std::filesystem::path(c.next)) << c.current;
    }
    EXPECT_FALSE(nextLanguageFile({}, "/p/a.lang"));
}

TEST(LanguageFiles, BaseNames) {
    EXPECT_EQ(languageBaseName("/p/english.lang"), "english");
    EXPECT_EQ(languageBaseName("/p/zh.cn.lang"), "zh.cn");
    EXPECT_EQ(languageBaseName("/p/a b.lang"), "a b");
}

TEST(LanguageFiles, NextLanguageSkipsFoldersAndStoresTheChoice) {
    TempDir dir;
    writeFile(dir / "setting.ini", "[setup]\nlanguage=english\ncom=3\n");
    writeFile(dir / "english.lang", "[Face]\ndisp=English\n");
    writeFile(dir / "chinese.lang", "[Face]\ndisp=Chinese\n");
    std::filesystem::create_directory(dir / "x.lang");
    setProgramDir(dir.path());
    setLanguagePath(dir / "english.lang");

    // Stepping through every entry twice never lands on the folder, and the
    // stored name always matches the language in use.
    for (int step = 0; step < 4; ++step) {
        ASSERT_EQ(switchToNextLanguage(), LanguageSwitch::Switched);
        EXPECT_TRUE(std::filesystem::is_regular_file(languagePath()));
        EXPECT_EQ(dir / (readLanguageSetting() + ".lang"), languagePath());
        EXPECT_EQ(readComPort(), 3);
    }

    TempDir empty;
    setProgramDir(empty.path());
    setLanguagePath(empty / "english.lang");
    EXPECT_EQ(switchToNextLanguage(), LanguageSwitch::NoLanguageFile);
    EXPECT_EQ(languagePath(), empty / "english.lang");
}

TEST(LanguageFiles, DialogOkSwitchesToTheChosenName) {
    TempDir dir;
    writeFile(dir / "setting.ini", "[setup]\nlanguage=\n");
    writeFile(dir / "deutsch.lang", "[Face]\ndisp=Deutsch\n");
    writeFile(dir / "english.lang", "[Face]\ndisp=English\n");
    setProgramDir(dir.path());
    setLanguagePath(dir / "english.lang");

    EXPECT_EQ(applyLanguageChoice("Deutsch"), LanguageSwitch::Switched);
    EXPECT_EQ(languagePath(), dir / "deutsch.lang");
    EXPECT_EQ(readLanguageSetting(), "deutsch");

    // No entry selected: nothing is written and the language stays.
    EXPECT_EQ(applyLanguageChoice(""), LanguageSwitch::NoLanguageFile);
    EXPECT_EQ(languagePath(), dir / "deutsch.lang");
    EXPECT_EQ(readLanguageSetting(), "deutsch");
}

TEST(LanguageFiles, SwitchThatCannotBeStoredIsReported) {
    TempDir dir;
    writeFile(dir / "english.lang", "[Face]\ndisp=English\n");
    // setting.ini as a folder: the settings cannot be written.
    std::filesystem::create_directory(dir / "setting.ini");
    setProgramDir(dir.path());
    setLanguagePath(dir / "none.lang");
    EXPECT_EQ(switchToNextLanguage(), LanguageSwitch::SwitchedNotSaved);
    EXPECT_EQ(languagePath(), dir / "english.lang");
}

}  // namespace
}  // namespace qzm
