// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_layout.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include "platform/program_paths.h"
#include "platform/settings.h"
#include "platform/startup_paths.h"
#include "test_files.h"

namespace qzm {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

constexpr const char* kShipped = "[setup]\nlanguage=\ncom=1\n";

// An installed tree: <root>/usr/bin for the program, <root>/usr/share/qzm836
// with the shipped files, <root>/home/.config and .local/share for the user.
struct InstalledTree {
    TempDir root;
    std::filesystem::path bin = root / "usr/bin";
    std::filesystem::path share = root / "usr/share/qzm836";
    UserFolders user{root / "home/.config", root / "home/.local/share"};

    InstalledTree() {
        std::filesystem::create_directories(bin);
        std::filesystem::create_directories(share);
        writeFile(share / "setting.ini", kShipped);
        writeFile(share / "english.lang", "[Face]\ndisp=English\n");
        writeFile(share / "chinese.lang", "[Face]\ndisp=Chinese\n");
    }
    std::filesystem::path userSettings() const { return user.configHome / "qzm836/setting.ini"; }
    std::filesystem::path userLang() const { return user.dataHome / "qzm836/lang"; }
};

TEST(ProgramLayout, SettingsBesideTheProgramMakeItPortable) {
    InstalledTree tree;
    // Even with a data folder next to it, a settings file beside the program wins.
    writeFile(tree.bin / "setting.ini", "[setup]\n");
    ProgramLocations found = locateProgramFiles(tree.bin, tree.user);
    EXPECT_EQ(found.layout, ProgramLayout::Portable);
    EXPECT_EQ(found.settingsPath, tree.bin / "setting.ini");
    EXPECT_EQ(found.dataDir, tree.bin);
    EXPECT_EQ(found.languageFolders, std::vector<std::filesystem::path>{tree.bin});
    EXPECT_EQ(prepareSettingsFile(found), SettingsFileState::Present);
    EXPECT_FALSE(std::filesystem::exists(tree.user.configHome));
}

TEST(ProgramLayout, NothingAnywhereIsAMissingPortableSettingsFile) {
    TempDir dir;
    ProgramLocations found = locateProgramFiles(dir.path(), {dir / "cfg", dir / "data"});
    EXPECT_EQ(found.layout, ProgramLayout::Portable);
    EXPECT_EQ(prepareSettingsFile(found), SettingsFileState::Missing);
    EXPECT_FALSE(std::filesystem::exists(dir / "cfg"));
}

TEST(ProgramLayout, InstalledProgramMakesTheUsersSettingsOnce) {
    InstalledTree tree;
    ProgramLocations found = locateProgramFiles(tree.bin, tree.user);
    EXPECT_EQ(found.layout, ProgramLayout::Installed);
    EXPECT_EQ(found.dataDir, tree.share);
    EXPECT_EQ(found.settingsPath, tree.userSettings());
    EXPECT_EQ(found.languageFolders,
              (std::vector<std::filesystem::path>{tree.share, tree.userLang()}));

    EXPECT_EQ(prepareSettingsFile(found), SettingsFileState::CreatedFromShipped);
    EXPECT_EQ(readFile(tree.userSettings()), kShipped);
    // The user's changes stay; the shipped file is never written.
    ASSERT_TRUE(writeComPort(4, found.settingsPath));
    ProgramLocations again = locateProgramFiles(tree.bin, tree.user);
    EXPECT_EQ(prepareSettingsFile(again), SettingsFileState::Present);
    EXPECT_EQ(readComPort(again.settingsPath), 4);
    EXPECT_EQ(readFile(tree.share / "setting.ini"), kShipped);
}

TEST(ProgramLayout, InstalledProgramWithoutAUsableHomeReadsTheShippedFile) {
    struct Case {
        const char* name;
        bool configIsAFile;  // the folder cannot be made
        bool noHome;         // no user folders at all
        SettingsFileState state;
    };
    for (const Case c : {Case{"config is a file", true, false, SettingsFileState::UsingShipped},
                         Case{"no home", false, true, SettingsFileState::Present}}) {
        InstalledTree tree;
        if (c.configIsAFile) {
            std::filesystem::create_directories(tree.user.configHome.parent_path());
            writeFile(tree.user.configHome, "not a folder");
        }
        ProgramLocations found = locateProgramFiles(tree.bin, c.noHome ? UserFolders{} : tree.user);
        EXPECT_EQ(prepareSettingsFile(found), c.state) << c.name;
        EXPECT_EQ(found.settingsPath, tree.share / "setting.ini") << c.name;
        EXPECT_EQ(found.languageFolders.size(), c.noHome ? 1u : 2u) << c.name;
    }
}

TEST(ProgramLayout, InstalledProgramNeedsTheShippedOrTheUsersSettings) {
    InstalledTree tree;
    std::filesystem::remove(tree.share / "setting.ini");
    ProgramLocations found = locateProgramFiles(tree.bin, tree.user);
    EXPECT_EQ(prepareSettingsFile(found), SettingsFileState::Missing);
    EXPECT_FALSE(std::filesystem::exists(tree.userSettings()));

    std::filesystem::create_directories(tree.userSettings().parent_path());
    writeFile(tree.userSettings(), "[setup]\nlanguage=chinese\n");
    EXPECT_EQ(prepareSettingsFile(found), SettingsFileState::Present);
}

TEST(ProgramLayout, StartupTakesTheUsersLanguageFileFirst) {
    InstalledTree tree;
    ASSERT_EQ(initProgramPaths(tree.bin, tree.user, false), StartupPaths::Ready);
    EXPECT_EQ(settingsPath(), tree.userSettings());
    EXPECT_EQ(programDir(), tree.bin);
    EXPECT_EQ(languagePath(), tree.share / "english.lang");

    // A user's file of the same name wins; a name no folder has is looked for
    // among the shipped files.
    std::filesystem::create_directories(tree.userLang());
    writeFile(tree.userLang() / "english.lang", "[Face]\ndisp=Mine\n");
    ASSERT_EQ(initProgramPaths(tree.bin, tree.user, false), StartupPaths::Ready);
    EXPECT_EQ(languagePath(), tree.userLang() / "english.lang");
    ASSERT_TRUE(writeLanguageSetting("klingon", settingsPath()));
    ASSERT_EQ(initProgramPaths(tree.bin, tree.user, false), StartupPaths::Ready);
    EXPECT_EQ(languagePath(), tree.share / "klingon.lang");
}

TEST(ProgramLayout, UserFoldersFollowTheXdgVariables) {
    struct Case {
        const char* configHome;
        const char* dataHome;
        const char* home;
        const char* wantConfig;
        const char* wantData;
    };
    const Case cases[] = {
        {"/x/cfg", "/x/data", "/h", "/x/cfg", "/x/data"},
        {nullptr, nullptr, "/h", "/h/.config", "/h/.local/share"},
        {"", "", "/h", "/h/.config", "/h/.local/share"},
        // Relative values are ignored.
        {"cfg", "data", "/h", "/h/.config", "/h/.local/share"},
    };
    const auto put = [](const char* name, const char* value) {
        if (value == nullptr) {
            ::unsetenv(name);
        } else {
            ::setenv(name, value, 1);
        }
    };
    const std::string savedHome = ::getenv("HOME") != nullptr ? ::getenv("HOME") : "";
    for (const auto& c : cases) {
        put("XDG_CONFIG_HOME", c.configHome);
        put("XDG_DATA_HOME", c.dataHome);
        put("HOME", c.home);
        const UserFolders folders = userFoldersFromEnvironment();
        EXPECT_EQ(folders.configHome, c.wantConfig) << c.configHome;
        EXPECT_EQ(folders.dataHome, c.wantData) << c.dataHome;
    }
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DATA_HOME");
    put("HOME", savedHome.empty() ? nullptr : savedHome.c_str());
}

}  // namespace
}  // namespace qzm
