// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <random>
#include <thread>
#include <vector>

#include "test_files.h"

namespace qzm {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

struct ReadCase {
    const char* what;
    const char* content;
    const char* section;
    const char* key;
    const char* expected;
};

TEST(ProfileRead, FindsValuesLikeThePrivateProfileReader) {
    const ReadCase cases[] = {
        {"plain", "[setup]\ncom=3\n", "setup", "com", "3"},
        {"names ignore case", "[SeTuP]\nCOM=3\n", "setup", "com", "3"},
        {"blanks around value removed", "[setup]\n  com  =  \t 3 4 \t\n", "setup", "com", "3 4"},
        {"blanks around header", "  [ setup ]  \ncom=3\n", "setup", "com", "3"},
        {"first key wins", "[setup]\ncom=1\ncom=2\n", "setup", "com", "1"},
        {"first section wins", "[setup]\nx=1\n[setup]\ncom=2\n", "setup", "com", "(default)"},
        {"key in another section", "[a]\ncom=1\n[setup]\n", "setup", "com", "(default)"},
        {"key before any section", "com=1\n[setup]\n", "setup", "com", "(default)"},
        {"byte-order mark", "\xEF\xBB\xBF[setup]\ncom=4\n", "setup", "com", "4"},
        {"CRLF line ends", "[setup]\r\ncom=5\r\nlanguage=x\r\n", "setup", "com", "5"},
        {"no final line end", "[setup]\ncom=6", "setup", "com", "6"},
        {"comment is not a key", "[setup]\n;com=1\ncom=7\n", "setup", "com", "7"},
        {"line without equals skipped", "[setup]\ncom\ncom=8\n", "setup", "com", "8"},
        {"empty value is a value", "[setup]\ncom=\n", "setup", "com", ""},
        {"equals inside value kept", "[s]\nk=a=b\n", "s", "k", "a=b"},
        {"unclosed header", "[setup\ncom=9\n", "setup", "com", "9"},
        {"non-ASCII value", "[s]\nk=\xE4\xB8\xAD\xE6\x96\x87\n", "s", "k",
         "\xE4\xB8\xAD\xE6\x96\x87"},
        {"empty file", "", "setup", "com", "(default)"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeFile(dir / "a.ini", c.content);
        EXPECT_EQ(readProfileString(dir / "a.ini", c.section, c.key, "(default)", 100), c.expected)
            << c.what;
    }
    EXPECT_EQ(readProfileString(dir / "missing.ini", "setup", "com", "dflt", 100), "dflt");
    EXPECT_EQ(readProfileString(dir.path(), "setup", "com", "dflt", 100), "dflt");
}

TEST(ProfileRead, CutsToBufferSizeByCharacters) {
    TempDir dir;
    // Three Chinese characters, three bytes each.
    writeFile(dir / "a.ini", "[s]\nk=\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\nascii=abcdef\n");
    EXPECT_EQ(readProfileString(dir / "a.ini", "s", "k", "", 3), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(readProfileString(dir / "a.ini", "s", "ascii", "", 4), "abc");
    EXPECT_EQ(readProfileString(dir / "a.ini", "s", "ascii", "", 1), "");
    EXPECT_EQ(readProfileString(dir / "a.ini", "s", "ascii", "", 0), "");
    EXPECT_EQ(readProfileString(dir / "a.ini", "s", "none", "defaults", 4), "def");
}

TEST(ProfileRead, IntegersAreLeadingDigits) {
    struct IntCase {
        const char* value;
        int expected;
    };
    const IntCase cases[] = {
        {"3", 3},
        {"  42  ", 42},
        {"-7", -7},
        {"+5", 5},
        {"12abc", 12},
        {"0x10", 0},
        {"abc", -99},
        {"", -99},
        {"-", -99},
        {"- 3", -99},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"99999999999999999999999999", INT_MAX},
        {"-99999999999999999999", INT_MIN},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeFile(dir / "a.ini", std::string("[s]\nn=") + c.value + "\n");
        EXPECT_EQ(readProfileInt(dir / "a.ini", "s", "n", -99), c.expected) << c.value;
    }
    EXPECT_EQ(readProfileInt(dir / "none.ini", "s", "n", 1), 1);
}

TEST(ProfileRead, SurvivesAwkwardFiles) {
    TempDir dir;
    // A very long line without a line end before the wanted key.
    std::string longLine = "[s]\nfirst=" + std::string(3'000'000, 'x') + "\nk=found\n";
    writeFile(dir / "long.ini", longLine);
    EXPECT_EQ(readProfileString(dir / "long.ini", "s", "k", "", 10), "found");
    const auto first = readProfileString(dir / "long.ini", "s", "first", "", 2000);
    EXPECT_EQ(first, std::string(1999, 'x'));

    // Random binary content, NUL bytes included.
    std::mt19937 random(836);
    std::string binary(1 << 20, '\0');
    for (auto& byte : binary) {
        byte = static_cast<char>(random());
    }
    writeFile(dir / "binary.ini", binary + "\n[s]\nk=v\n");
    EXPECT_EQ(readProfileString(dir / "binary.ini", "s", "k", "d", 10), "v");
    writeFile(dir / "binary.ini", binary);
    EXPECT_EQ(readProfileString(dir / "binary.ini", "zz", "zz", "d", 10), "d");
    EXPECT_EQ(readProfileInt(dir / "binary.ini", "zz", "zz", 4), 4);

    // A fifo named like a settings file would block a plain open forever.
    ASSERT_EQ(::mkfifo((dir / "fifo.ini").c_str(), 0600), 0);
    EXPECT_EQ(readProfileString(dir / "fifo.ini", "s", "k", "d", 10), "d");
    EXPECT_FALSE(writeProfileString(dir / "fifo.ini", "s", "k", "v"));
}

TEST(ProfileWrite, KeepsEveryOtherLine) {
    struct WriteCase {
        const char* what;
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const WriteCase cases[] = {
        {"replace in place",
         "; top\n[a]\nx=1\n\n[setup]\n; note\ncom=1\nlanguage=english\n[b]\ny=2\n", "setup", "com",
         "3", "; top\n[a]\nx=1\n\n[setup]\n; note\ncom=3\nlanguage=english\n[b]\ny=2\n"},
        {"add key after the section's last key", "[setup]\ncom=1\n\n[b]\ny=2\n", "SETUP",
         "language", "chinese", "[setup]\ncom=1\nlanguage=chinese\n\n[b]\ny=2\n"},
        {"add key to empty section", "[setup]\n[b]\n", "setup", "com", "2",
         "[setup]\ncom=2\n[b]\n"},
        {"add section", "[a]\nx=1\n", "setup", "com", "2", "[a]\nx=1\n\n[setup]\ncom=2\n"},
        {"add section without final line end", "[a]\nx=1", "setup", "com", "2",
         "[a]\nx=1\n\n[setup]\ncom=2\n"},
        {"CRLF file stays CRLF", "[setup]\r\ncom=1\r\n", "setup", "searchcom", "0",
         "[setup]\r\ncom=1\r\nsearchcom=0\r\n"},
        {"CRLF replace", "[setup]\r\ncom=1\r\n", "setup", "com", "4", "[setup]\r\ncom=4\r\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[setup]\ncom=1\n", "setup", "com", "5",
         "\xEF\xBB\xBF[setup]\ncom=5\n"},
        {"only first section changed", "[s]\nk=1\n[s]\nk=2\n", "s", "k", "9",
         "[s]\nk=9\n[s]\nk=2\n"},
        {"empty file", "", "setup", "com", "1", "[setup]\ncom=1\n"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeFile(dir / "a.ini", c.before);
        ASSERT_TRUE(writeProfileString(dir / "a.ini", c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(readFile(dir / "a.ini"), c.after) << c.what;
        EXPECT_EQ(readProfileString(dir / "a.ini", c.section, c.key, "?", 100), c.value) << c.what;
    }
}

TEST(ProfileWrite, CreatesMissingFileAndKeepsPermissions) {
    TempDir dir;
    ASSERT_TRUE(writeProfileString(dir / "new.ini", "setup", "com", "2"));
    EXPECT_EQ(readFile(dir / "new.ini"), "[setup]\ncom=2\n");

    writeFile(dir / "mode.ini", "[s]\nk=1\n");
    ::chmod((dir / "mode.ini").c_str(), 0640);
    ASSERT_TRUE(writeProfileString(dir / "mode.ini", "s", "k", "2"));
    struct stat st {};
    ASSERT_EQ(::stat((dir / "mode.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // Nothing but the file itself is left behind in the folder.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2u);
}

TEST(ProfileWrite, ConcurrentWritersLoseNothing) {
    TempDir dir;
    const auto file = dir / "a.ini";
    writeFile(file, "[setup]\n");
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&, t] {
            for (int i = 0; i < 10; ++i) {
                const auto key = "k" + std::to_string(t) + "_" + std::to_string(i);
                EXPECT_TRUE(writeProfileString(file, "setup", key, std::to_string(i)));
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 10; ++i) {
            const auto key = "k" + std::to_string(t) + "_" + std::to_string(i);
            EXPECT_EQ(readProfileString(file, "setup", key, "lost", 10), std::to_string(i)) << key;
        }
    }
}

TEST(ProfileWrite, WritesThroughSymbolicLink) {
    TempDir dir;
    writeFile(dir / "real.ini", "[s]\nk=1\n");
    std::filesystem::create_symlink(dir / "real.ini", dir / "link.ini");
    ASSERT_TRUE(writeProfileString(dir / "link.ini", "s", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(readFile(dir / "real.ini"), "[s]\nk=2\n");
}

TEST(ProfileWrite, FailureLeavesOldFileIntact) {
    TempDir dir;
    // Tests may run as root, where permission bits do not stop a write; a
    // parent that is a regular file stops everyone.
    writeFile(dir / "plain", "not a folder");
    EXPECT_FALSE(writeProfileString(dir / "plain" / "setting.ini", "setup", "com", "1"));
    EXPECT_EQ(readFile(dir / "plain"), "not a folder");

    // A folder in the file's place cannot be replaced.
    std::filesystem::create_directory(dir / "folder.ini");
    EXPECT_FALSE(writeProfileString(dir / "folder.ini", "setup", "com", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.ini"));

    if (::geteuid() != 0) {  // root may write any file
        writeFile(dir / "locked.ini", "[setup]\ncom=1\n");
        std::filesystem::permissions(dir / "locked.ini", std::filesystem::perms::owner_read);
        EXPECT_FALSE(writeProfileString(dir / "locked.ini", "setup", "com", "2"));
        EXPECT_EQ(readFile(dir / "locked.ini"), "[setup]\ncom=1\n");
    }

    // Texts that would not read back as written are refused, the file unchanged.
    writeFile(dir / "a.ini", "[setup]\ncom=1\n");
    EXPECT_FALSE(writeProfileString(dir / "a.ini", "setup", "com", "1\n[evil]"));
    EXPECT_FALSE(writeProfileString(dir / "a.ini", "setup", "a=b", "1"));
    EXPECT_FALSE(writeProfileString(dir / "a.ini", "set]up", "com", "1"));
    EXPECT_FALSE(writeProfileString(dir / "a.ini", "setup", "", "1"));
    EXPECT_EQ(readFile(dir / "a.ini"), "[setup]\ncom=1\n");
}

}  // namespace
}  // namespace qzm
