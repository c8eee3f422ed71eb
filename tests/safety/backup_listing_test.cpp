// SPDX-License-Identifier: GPL-3.0-or-later
#include "safety/backup_listing.h"

#include <gtest/gtest.h>

#include <string>

#include "radio/data_file.h"
#include "test_files.h"
#include "test_language.h"

namespace qzm {
namespace {

using test::TempDir;

std::string keyAsText(std::string_view key) {
    return "<" + std::string(key) + ">";
}

RadioImage imageWith(int bandIndex, int channels) {
    RadioImage image = RadioImage::fresh();
    image.setBandIndex(bandIndex);
    const BandLimits band = image.bandLimits();
    const std::string frequency = std::to_string(band.lower / 100'000) + ".00000";
    for (int n = 1; n <= channels; ++n) {
        image.setFrequencyText(n * 2 - 1, ChannelSide::Receive, frequency);
    }
    return image;
}

TEST(BackupListing, SaysWhatEachBackupHoldsAndWhyOneCannotBeOpened) {
    TempDir folder;
    const BackupStore store(folder.path());
    const RadioImage six = imageWith(1, 6);
    const StoredBackup good = store.store(six, BackupKind::BeforeWrite, "ttyUSB0");
    ASSERT_TRUE(good.result.ok());
    FileHeader header;
    header.writeMagic();
    const std::vector<std::uint8_t> encoded = encodeDataFile(header, six);
    const std::string bytes(encoded.begin(), encoded.end());
    struct Case {
        const char* name;
        std::string content;
        std::string problem;
    };
    const Case cases[] = {
        {"2020-01-01_10-00-00-read.836", bytes.substr(0, 1000), "<IDS_BACKUP_CUT_SHORT>"},
        {"2020-01-02_10-00-00-read.836", std::string(kDataFileSize, 'x'), "<IDS_BACKUP_NOT_DATA>"},
        {"2020-01-03_10-00-00-before-restore.836", bytes, ""},
        {"2020-01-04_10-00-00-read.836", "", "<IDS_BACKUP_CUT_SHORT>"},
    };
    for (const Case& c : cases) {
        test::writeFile(folder / c.name, c.content);
    }

    const std::vector<BackupListing> listed = listBackups(store, keyAsText);
    ASSERT_EQ(listed.size(), 5u);
    // Newest first: the one just stored, then the made ones from the 4th back.
    EXPECT_EQ(listed[0].entry.path, good.path);
    EXPECT_TRUE(listed[0].canOpen());
    EXPECT_EQ(listed[0].entry.kind, BackupKind::BeforeWrite);
    EXPECT_EQ(listed[0].bandIndex, 1);
    EXPECT_EQ(listed[0].programmedChannels, 6);
    for (std::size_t i = 1; i < listed.size(); ++i) {
        const Case& c = cases[std::size(cases) - i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(listed[i].entry.path.filename(), c.name);
        EXPECT_EQ(listed[i].problem, c.problem);
        EXPECT_EQ(listed[i].canOpen(), c.problem.empty());
    }
    EXPECT_EQ(listed[2].entry.kind, BackupKind::BeforeRestore);
    EXPECT_EQ(listed[2].programmedChannels, 6);
}

TEST(BackupListing, AFileThatCannotBeReadIsListedWithTheReasonInTheUsersLanguage) {
    TempDir folder;
    const TextSource chinese = test::languageWith({
        {"IDS_FILE_CANNOT_OPEN", "无法打开“%1”：%2"},
        {"IDS_ERRNO_ENOENT", "没有这个文件或文件夹"},
        {"IDS_ERRNO_EISDIR", "这是一个文件夹"},
    });
    const std::filesystem::path folderNamedLikeABackup = folder / "2020-01-02_10-00-00-read.836";
    std::filesystem::create_directory(folderNamedLikeABackup);
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {folder / "2020-01-01_10-00-00-read.836", "没有这个文件或文件夹"},  // vanished
        {folderNamedLikeABackup, "这是一个文件夹"},
    };
    for (const auto& [path, reason] : cases) {
        BackupEntry entry;
        entry.path = path;
        const BackupListing listing = describeBackup(entry, chinese);
        EXPECT_FALSE(listing.canOpen());
        EXPECT_EQ(listing.problem, "无法打开“" + path.string() + "”：" + reason);
        EXPECT_EQ(listing.bandIndex, -1);
    }
}

TEST(BackupListing, EveryKindHasItsOwnText) {
    EXPECT_STRNE(backupKindKey(BackupKind::Read), backupKindKey(BackupKind::BeforeWrite));
    EXPECT_STRNE(backupKindKey(BackupKind::BeforeWrite), backupKindKey(BackupKind::BeforeRestore));
    EXPECT_STRNE(backupKindKey(BackupKind::Read), backupKindKey(BackupKind::BeforeRestore));
}

}  // namespace
}  // namespace qzm
