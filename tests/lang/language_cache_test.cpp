// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/language_cache.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "test_files.h"
#include "lang/text_lookup.h"
#include "platform/profile.h"

namespace qzm {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

// Dates the file back, as any language file that was not just written is.
void settle(const fs::path& file, int hoursAgo = 1) {
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(hoursAgo));
}

// The cache answers exactly as the profile reader does, for the files that make
// its rules show: duplicate sections and keys, case, blanks, BOM, CR LF, keys
// before any section, a long line.
TEST(LanguageCache, ReadsAsTheProfileReader) {
    const std::string longValue(70 * 1024, 'x');
    const std::string files[] = {
        "[String]\nA=1\na=2\n[string]\nB=3\n[Other]\nA=4\n",
        "\xEF\xBB\xBF[String]\r\n  A  =  spaced out  \r\nC=\r\n",
        "A=before any section\n[String]\nD=x=y\n;A=comment\n[ String ]\nE=5",
        "[String]\nLONG=" + longValue + "\nAFTER=ok\n",
        "",
        "[String\nA=1\n[String]\n=empty name\nA\n",
    };
    const char* keys[] = {"A", "a", "B", "C", "D", "E", "LONG", "AFTER", "", "missing"};
    TempDir dir;
    int n = 0;
    for (const std::string& text : files) {
        const fs::path file = dir / ("f" + std::to_string(n++) + ".lang");
        writeFile(file, text);
        settle(file);
        for (const char* section : {"String", "STRING", "Other", "none"}) {
            for (const char* key : keys) {
                EXPECT_EQ(languageValue(file, section, key), readProfileValue(file, section, key))
                    << file << " [" << section << "] " << key;
            }
        }
    }
}

TEST(LanguageCache, ParsesAFileOnceWhileItIsUnchanged) {
    TempDir dir;
    const fs::path file = dir / "big.lang";
    writeFile(file, "[String]\nIDS_OFF=Off\n[Resource]\n1=OK\n");
    settle(file);
    const std::size_t before = languageFileParseCount();
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(lookupTextIn(file, "IDS_OFF"), "Off");
        ASSERT_EQ(resourceTextIn(file, 1), "OK");
    }
    EXPECT_EQ(languageFileParseCount() - before, 1U);
}

// An edit is seen at the next lookup: same size with a new time, another size, a
// file replaced by rename, a file removed.
TEST(LanguageCache, SeesAFileChangedOnDisk) {
    TempDir dir;
    const fs::path file = dir / "a.lang";
    writeFile(file, "[String]\nIDS_OFF=Off\n");
    settle(file, 3);
    EXPECT_EQ(lookupTextIn(file, "IDS_OFF"), "Off");

    writeFile(file, "[String]\nIDS_OFF=Aus\n");  // the same size
    settle(file, 2);
    EXPECT_EQ(lookupTextIn(file, "IDS_OFF"), "Aus");

    writeFile(file, "[String]\nIDS_OFF=Apagado\n");
    settle(file, 2);  // another size
    EXPECT_EQ(lookupTextIn(file, "IDS_OFF"), "Apagado");

    writeFile(dir / "new.lang", "[String]\nIDS_OFF=Spento\n");
    settle(dir / "new.lang", 2);
    fs::rename(dir / "new.lang", file);
    EXPECT_EQ(lookupTextIn(file, "IDS_OFF"), "Spento");

    fs::remove(file);
    EXPECT_EQ(lookupTextIn(file, "IDS_OFF"), "Not Found");
}

// A file written just now may be written again within the same tick of the file
// clock with the same size: it is not trusted until it has settled.
TEST(LanguageCache, AFreshFileIsReadAgain) {
    TempDir dir;
    const fs::path file = dir / "fresh.lang";
    for (const char* value : {"One", "Two", "Six"}) {
        writeFile(file, std::string("[String]\nIDS_OFF=") + value + "\n");
        EXPECT_EQ(lookupTextIn(file, "IDS_OFF"), value);
    }
}

// Over the limit the file reads as missing, with a message saying why; at the
// limit it is read.
TEST(LanguageCache, RefusesAFileOverTheLimit) {
    TempDir dir;
    const std::string head = "[String]\nIDS_OFF=Off\n";
    for (const std::uintmax_t size : {kMaxLanguageFileBytes, kMaxLanguageFileBytes + 1}) {
        const fs::path file = dir / ("s" + std::to_string(size) + ".lang");
        writeFile(file, head);
        fs::resize_file(file, size);  // the rest reads as zero bytes: one long junk line
        settle(file);
        const bool refused = size > kMaxLanguageFileBytes;
        testing::internal::CaptureStderr();
        EXPECT_EQ(lookupTextIn(file, "IDS_OFF"), refused ? "Not Found" : "Off") << size;
        EXPECT_EQ(lookupTextIn(file, "IDS_OFF"), refused ? "Not Found" : "Off") << size;
        const std::string err = testing::internal::GetCapturedStderr();
        const auto refusal = languageFileRefusal(file);
        EXPECT_EQ(refusal.has_value(), refused) << size;
        if (refused) {
            EXPECT_NE(refusal->find("larger than 16 MB"), std::string::npos) << *refusal;
            EXPECT_NE(refusal->find(file.string()), std::string::npos) << *refusal;
            // Said once, not at every lookup.
            EXPECT_EQ(err, *refusal + "\n");
        } else {
            EXPECT_EQ(err, "");
        }
    }
}

}  // namespace
}  // namespace qzm
