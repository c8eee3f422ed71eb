// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings.h"

#include <gtest/gtest.h>

#include "platform/startup_paths.h"
#include "platform/system_locale.h"
#include "test_files.h"

namespace qzm {
namespace {

using test::TempDir;
using test::writeFile;

TEST(Settings, DefaultsWithoutSetupSection) {
    TempDir dir;
    writeFile(dir / "setting.ini", "[ModelInfo]\nFreq0=a\n");
    EXPECT_EQ(readLanguageSetting(dir / "setting.ini"), "");
    EXPECT_EQ(readComPort(dir / "setting.ini"), 1);
    EXPECT_TRUE(readSearchComEnabled(dir / "setting.ini"));
    EXPECT_EQ(startupLanguageName(dir / "setting.ini", false), "english");
    EXPECT_EQ(startupLanguageName(dir / "setting.ini", true), "chinese");
    // A missing file reads like an empty one.
    EXPECT_EQ(readComPort(dir / "none.ini"), 1);
    EXPECT_TRUE(readSearchComEnabled(dir / "none.ini"));
}

TEST(Settings, SearchComLooksAtTheFirstCharacterOnly) {
    struct Case {
        const char* line;
        bool enabled;
    };
    const Case cases[] = {
        {"searchcom=1", true},    {"searchcom=0", false}, {"searchcom=0ff", false},
        {"searchcom= 0 ", false}, {"searchcom=", true},   {"searchcom=no", true},
        {"SEARCHCOM=0", false},   {"other=0", true},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeFile(dir / "setting.ini", std::string("[setup]\n") + c.line + "\n");
        EXPECT_EQ(readSearchComEnabled(dir / "setting.ini"), c.enabled) << c.line;
    }
}

TEST(Settings, ComPortAndWritesAreSeenAtOnce) {
    TempDir dir;
    const auto file = dir / "setting.ini";
    writeFile(file, "; kept\n[setup]\ncom=12\n");
    EXPECT_EQ(readComPort(file), 12);
    writeFile(file, "[setup]\ncom=COM3\n");
    EXPECT_EQ(readComPort(file), 1);

    ASSERT_TRUE(writeComPort(7, file));
    EXPECT_EQ(readComPort(file), 7);
    ASSERT_TRUE(writeSearchComEnabled(false, file));
    EXPECT_FALSE(readSearchComEnabled(file));
    ASSERT_TRUE(writeLanguageSetting("chinese", file));
    EXPECT_EQ(startupLanguageName(file, false), "chinese");
    EXPECT_EQ(test::readFile(file), "[setup]\ncom=7\nsearchcom=0\nlanguage=chinese\n");
}

TEST(Settings, StartupLanguagePath) {
    TempDir dir;
    writeFile(dir / "setting.ini", "[setup]\nlanguage=\n");
    const std::vector<std::filesystem::path> folders{dir.path()};
    EXPECT_EQ(startupLanguagePath(dir / "setting.ini", folders, true), dir / "chinese.lang");
    EXPECT_EQ(startupLanguagePath(dir / "setting.ini", folders, false), dir / "english.lang");
    // A set key wins over the locale, and the file need not exist.
    writeFile(dir / "setting.ini", "[setup]\nlanguage=english\n");
    EXPECT_EQ(startupLanguagePath(dir / "setting.ini", folders, true), dir / "english.lang");
    // The name is cut to 259 characters.
    writeFile(dir / "setting.ini", "[setup]\nlanguage=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(startupLanguageName(dir / "setting.ini", false), std::string(259, 'x'));
}

TEST(Settings, BandNamesEndAtTheFirstGap) {
    TempDir dir;
    writeFile(dir / "a.ini", "[ModelInfo]\nFreq0=A\nFreq1=B\nFreq3=D\n");
    EXPECT_EQ(readBandNames(dir / "a.ini"), (std::vector<std::string>{"A", "B"}));
    writeFile(dir / "a.ini", "[ModelInfo]\nFreq0=A\nFreq1=\nFreq2=C\n");
    EXPECT_EQ(readBandNames(dir / "a.ini"), std::vector<std::string>{"A"});
    writeFile(dir / "a.ini", "[setup]\ncom=1\n");
    EXPECT_TRUE(readBandNames(dir / "a.ini").empty());

    std::string many = "[modelinfo]\n";
    for (int i = 0; i < 20; ++i) {
        many += "freq" + std::to_string(i) + "=" + std::string(40, 'b') + "\n";
    }
    writeFile(dir / "a.ini", many);
    const auto names = readBandNames(dir / "a.ini");
    ASSERT_EQ(names.size(), 16u);
    EXPECT_EQ(names[15], std::string(29, 'b'));
}

TEST(SystemLocale, ChineseOnlyForZhCn) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        bool chinese;
    };
    const Case cases[] = {
        {"", "", "zh_CN.UTF-8", true},
        {"", "", "zh_CN", true},
        {"", "", "zh_TW.UTF-8", false},
        {"", "", "en_US.UTF-8", false},
        {"", "", "", false},
        {"C", "", "zh_CN.UTF-8", false},            // LC_ALL ranks first
        {"", "zh_CN.GB2312", "en_GB.UTF-8", true},  // then LC_MESSAGES
        {"zh_CN.UTF-8", "en_US", "en_US", true},
        {"", "", "zh_cn.UTF-8", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isChinesePrcLocale(c.lcAll, c.lcMessages, c.lang), c.chinese)
            << c.lcAll << "|" << c.lcMessages << "|" << c.lang;
    }
}

TEST(StartupPathsTest, NeedsTheSettingsFile) {
    TempDir dir;
    setLanguagePath("/untouched.lang");
    EXPECT_EQ(initProgramPaths(dir.path(), false), StartupPaths::SettingsMissing);
    EXPECT_EQ(settingsPath(), dir / "setting.ini");
    EXPECT_EQ(languagePath(), "/untouched.lang");

    writeFile(dir / "setting.ini", "[setup]\ncom=2\n");
    EXPECT_EQ(initProgramPaths(dir.path(), true), StartupPaths::Ready);
    EXPECT_EQ(programDir(), dir.path());
    EXPECT_EQ(languagePath(), dir / "chinese.lang");
}

TEST(ProgramPaths, SettingsLieInTheProgramFolder) {
    const auto exeDir = executableDir();
    ASSERT_TRUE(exeDir.has_value());
    EXPECT_TRUE(std::filesystem::exists(*exeDir / "platform_tests"));

    setProgramDir("/opt/qzm836");
    EXPECT_EQ(programDir(), "/opt/qzm836");
    EXPECT_EQ(settingsPath(), "/opt/qzm836/setting.ini");
    setLanguagePath("/opt/qzm836/english.lang");
    EXPECT_EQ(languagePath(), "/opt/qzm836/english.lang");
}

}  // namespace
}  // namespace qzm
