// SPDX-License-Identifier: GPL-3.0-or-later
#include "safety/backup_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "platform/user_data_dir.h"
#include "radio/data_file.h"
#include "safety/backup_settings.h"
#include "test_files.h"

namespace qzm {
namespace {

using test::TempDir;

// A local time as a time point, so names can be predicted.
std::chrono::system_clock::time_point localTime(int year, int month, int day, int hour, int minute,
                                                int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

// The header every backup carries; pruning only ever removes files that hold it.
FileHeader dataHeader() {
    FileHeader header;
    header.writeMagic();
    return header;
}

RadioImage numberedImage(int n) {
    RadioImage image = RadioImage::fresh();
    image.bytes[0x10] = static_cast<std::uint8_t>(n);
    image.bytes[0xFFF] = static_cast<std::uint8_t>(n >> 8);
    return image;
}

TEST(BackupNames, FormatAndParseAgree) {
    struct Case {
        BackupKind kind;
        const char* tag;
        int sequence;
        const char* name;
        const char* parsedTag;
    };
    const Case cases[] = {
        {BackupKind::Read, "", 1, "2026-12-08_14-05-33-read.836", ""},
        {BackupKind::BeforeWrite, "", 1, "2026-12-08_14-05-33-before-write.836", ""},
        {BackupKind::BeforeWrite, "", 3, "2026-12-08_14-05-33-before-write.3.836", ""},
        {BackupKind::BeforeRestore, "", 1, "2026-12-08_14-05-33-before-restore.836", ""},
        {BackupKind::BeforeRestore, "COM2", 2, "2026-12-08_14-05-33-before-restore-COM2.2.836",
         "COM2"},
        {BackupKind::Read, "COM3-QZM836", 2, "2026-12-08_14-05-33-read-COM3-QZM836.2.836",
         "COM3-QZM836"},
        // Separators and other characters of a tag cannot break the name apart.
        {BackupKind::Read, "/dev/ttyUSB0 x.y", 1, "2026-12-08_14-05-33-read-_dev_ttyUSB0_x_y.836",
         "_dev_ttyUSB0_x_y"},
    };
    for (const auto& c : cases) {
        const std::string name = backupFileName("2026-12-08_14-05-33", c.kind, c.tag, c.sequence);
        EXPECT_EQ(name, c.name);
        const auto parsed = parseBackupFileName(std::filesystem::path("/x") / name);
        ASSERT_TRUE(parsed) << name;
        EXPECT_EQ(parsed->kind, c.kind) << name;
        EXPECT_EQ(parsed->tag, c.parsedTag) << name;
        EXPECT_EQ(parsed->sequence, c.sequence) << name;
        EXPECT_EQ(parsed->displayTime(), "2026-12-08 14:05:33");
        EXPECT_EQ(parsed->day(), "2026-12-08");
    }
    for (const char* foreign :
         {"notes.txt", "radio.836", "2026-12-08_14-05-33.836", "2026-12-08_14-05-33-write.836",
          "2026-12-08_14-05-33-read-.836", "2026-12-08_14-05-33-read.1.836",
          "2026-12-08_14-05-33-read.x.836", "2026-12-08 14-05-33-read.836",
          "2026-12-08_14-05-3a-read.836", "2026-12-08_14-05-33-reading.836"}) {
        EXPECT_FALSE(parseBackupFileName(foreign)) << foreign;
    }
}

TEST(BackupStoreTest, StoresCompleteFilesInAPrivateFolderAndNeverReplacesOne) {
    TempDir dir;
    const BackupStore store(dir / "data" / "backups");
    const auto when = localTime(2026, 12, 8, 14, 5, 33);
    FileHeader header;
    header.writeMagic();
    header.bytes[40] = 0x5A;

    const StoredBackup first = store.store(header, numberedImage(1), BackupKind::Read, {}, when);
    ASSERT_TRUE(first.result.ok()) << first.result.error().text;
    EXPECT_EQ(first.path.filename(), "2026-12-08_14-05-33-read.836");
    const StoredBackup second = store.store(header, numberedImage(2), BackupKind::Read, {}, when);
    ASSERT_TRUE(second.result.ok()) << second.result.error().text;
    EXPECT_EQ(second.path.filename(), "2026-12-08_14-05-33-read.2.836");

    const LoadedDataFile loaded = loadDataFile(first.path);
    ASSERT_EQ(loaded.status, LoadStatus::Loaded);
    EXPECT_EQ(loaded.contents.header, header);
    EXPECT_EQ(loaded.contents.image.bytes, numberedImage(1).bytes);
    EXPECT_EQ(loadDataFile(second.path).contents.image.bytes, numberedImage(2).bytes);

    struct stat info {};
    ASSERT_EQ(::stat(store.folder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    const auto listed = store.list();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].path, second.path);  // the later of one second first
    EXPECT_EQ(listed[1].path, first.path);
}

TEST(BackupStoreTest, AFolderThatCannotBeMadeIsAClearFailure) {
    TempDir dir;
    test::writeFile(dir / "blocker", "a file where the folder should be");
    const BackupStore store(dir / "blocker" / "backups");
    const StoredBackup stored = store.store(RadioImage::fresh(), BackupKind::BeforeWrite);
    EXPECT_FALSE(stored.result.ok());
    EXPECT_NE(stored.result.error().text.find("blocker"), std::string::npos)
        << stored.result.error().text;
    EXPECT_TRUE(BackupStore(dir / "none").list().empty());
}

TEST(BackupStoreTest, KeepsTheNewestAndOneOfEveryDay) {
    TempDir dir;
    const BackupStore store(dir / "backups");
    // 3 backups on each of 3 old days, then 200 on one later day.
    for (int day = 1; day <= 3; ++day) {
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(store
                            .store(dataHeader(), numberedImage(i), BackupKind::Read, {},
                                   localTime(2026, 1, day, 8, i, 0))
                            .result.ok());
        }
    }
    test::writeFile(dir / "backups" / "my-notes.txt", "not a backup");
    for (int i = 0; i < 199; ++i) {
        ASSERT_TRUE(store
                        .store(dataHeader(), numberedImage(i), BackupKind::BeforeWrite, {},
                               localTime(2026, 2, 1, 9, i / 60, i % 60))
                        .result.ok());
    }
    // 208 files so far were pruned down as they came: the 9 old ones stay while 200
    // or fewer exist, then the oldest go, but never the last of a day.
    const auto listed = store.list();
    ASSERT_EQ(listed.size(), 202u);
    std::vector<std::string> oldDays;
    for (const auto& entry : listed) {
        if (entry.stamp < "2026-02") {
            oldDays.push_back(entry.stamp);
        }
    }
    // Day 3's newest is the 200th; days 2 and 1 keep their newest as their only one.
    EXPECT_EQ(oldDays, (std::vector<std::string>{"2026-01-03_08-02-00", "2026-01-02_08-02-00",
                                                 "2026-01-01_08-02-00"}));
    EXPECT_TRUE(std::filesystem::exists(dir / "backups" / "my-notes.txt"));
    EXPECT_TRUE(store.prune().empty());      // already in shape
    EXPECT_EQ(store.prune(1).size(), 198u);  // the newest and the last of each other day
    EXPECT_EQ(store.list().size(), 4u);
}

TEST(BackupStoreTest, ABackupAppearsOnlyWholeAndAHalfFileIsMarkedAndKept) {
    TempDir dir;
    const BackupStore store(dir / "backups");
    const auto when = localTime(2026, 12, 8, 14, 5, 33);
    // What a run killed between reserving a name and filling it left behind.
    std::filesystem::create_directories(store.folder());
    test::writeFile(store.folder() / "2026-12-08_14-05-33-before-write.836", "");
    const StoredBackup stored =
        store.store(dataHeader(), numberedImage(7), BackupKind::BeforeWrite, {}, when);
    ASSERT_TRUE(stored.result.ok()) << stored.result.error().text;
    EXPECT_EQ(stored.path.filename(), "2026-12-08_14-05-33-before-write.2.836");
    EXPECT_EQ(loadDataFile(stored.path).contents.image.bytes, numberedImage(7).bytes);

    const auto listed = store.list();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].path, stored.path);
    EXPECT_TRUE(listed[0].complete);
    EXPECT_FALSE(listed[1].complete);  // marked, and left where it is
    // Nothing else stays behind: no temporary file.
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(store.folder())) {
        ++files;
    }
    EXPECT_EQ(files, 2u);

    // Temporary files of killed runs: a part-written one goes, a whole one may be the
    // last copy of a radio's memory and stays.
    const auto bytes = encodeDataFile(dataHeader(), numberedImage(9));
    const std::string whole(bytes.begin(), bytes.end());
    test::writeFile(store.folder() / ".incoming-whole1", whole);
    test::writeFile(store.folder() / ".incoming-part01", whole.substr(0, 100));
    for (const char* name : {".incoming-whole1", ".incoming-part01"}) {
        std::filesystem::last_write_time(
            store.folder() / name,
            std::filesystem::file_time_type::clock::now() - std::chrono::hours(2));
    }
    ASSERT_TRUE(store.store(dataHeader(), numberedImage(8), BackupKind::Read).result.ok());
    EXPECT_TRUE(std::filesystem::exists(store.folder() / ".incoming-whole1"));
    EXPECT_FALSE(std::filesystem::exists(store.folder() / ".incoming-part01"));
}

TEST(BackupStoreTest, PruningRemovesOnlyTheUsersOwnCompleteBackupsNeverLinks) {
    TempDir dir;
    const BackupStore store(dir / "backups");
    const auto day = [](int hour) { return localTime(2026, 1, 5, hour, 0, 0); };
    ASSERT_TRUE(
        store.store(dataHeader(), numberedImage(1), BackupKind::Read, {}, day(8)).result.ok());
    ASSERT_TRUE(
        store.store(dataHeader(), numberedImage(2), BackupKind::Read, {}, day(9)).result.ok());
    const auto folder = store.folder();
    // Older on the same day, so by name alone each of these would go.
    test::writeFile(folder / "2026-01-05_07-00-00-read.836", "my own notes, named like a backup");
    test::writeFile(dir / "precious.836", test::readFile(folder / "2026-01-05_09-00-00-read.836"));
    std::filesystem::create_symlink(dir / "precious.836", folder / "2026-01-05_06-00-00-read.836");
    test::writeFile(folder / "2026-01-05_05-00-00-read.836",
                    test::readFile(folder / "2026-01-05_09-00-00-read.836"));
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown((folder / "2026-01-05_05-00-00-read.836").c_str(), 4242, 4242), 0);
    }

    const auto removed = store.prune(0);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].filename(), "2026-01-05_08-00-00-read.836");
    EXPECT_TRUE(std::filesystem::exists(folder / "2026-01-05_09-00-00-read.836"));  // day's last
    EXPECT_TRUE(std::filesystem::exists(folder / "2026-01-05_07-00-00-read.836"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "2026-01-05_06-00-00-read.836"));
    EXPECT_TRUE(std::filesystem::exists(dir / "precious.836"));
    if (root) {
        EXPECT_TRUE(std::filesystem::exists(folder / "2026-01-05_05-00-00-read.836"));
    }
    // A link is never a backup: not listed either.
    for (const auto& entry : store.list()) {
        EXPECT_NE(entry.path.filename(), "2026-01-05_06-00-00-read.836");
    }
}

// A backup file as an earlier run would have left it.
void placeBackup(const std::filesystem::path& folder, std::chrono::system_clock::time_point when,
                 int n) {
    std::filesystem::create_directories(folder);
    const auto bytes = encodeDataFile(dataHeader(), numberedImage(n));
    test::writeFile(folder / backupFileName(backupStamp(when), BackupKind::BeforeWrite, {}),
                    std::string(bytes.begin(), bytes.end()));
}

TEST(BackupStoreTest, RecentDaysAndAClockThatWentBackNeverCostABackup) {
    TempDir dir;
    const auto now = std::chrono::system_clock::now();
    const auto second = [](int n) { return std::chrono::seconds(n); };
    // A fleet: more radios in a day than the count keeps; yesterday's all stay.
    const BackupStore fleet(dir / "fleet");
    for (int i = 0; i < 205; ++i) {
        placeBackup(fleet.folder(), now - std::chrono::hours(30) + second(i), i);
    }
    ASSERT_TRUE(fleet.store(dataHeader(), numberedImage(1), BackupKind::Read).result.ok());
    EXPECT_EQ(fleet.list().size(), 206u);

    // 205 backups dated years ahead (a clock that ran ahead, then was put right): two
    // new ones of today both stay.
    const BackupStore ahead(dir / "ahead");
    for (int i = 0; i < 205; ++i) {
        placeBackup(ahead.folder(), now + std::chrono::hours(24 * 365 * 3) + second(i), i);
    }
    const StoredBackup first = ahead.store(dataHeader(), numberedImage(1000), BackupKind::Read);
    const StoredBackup later = ahead.store(dataHeader(), numberedImage(1001), BackupKind::Read);
    ASSERT_TRUE(first.result.ok() && later.result.ok());
    EXPECT_TRUE(std::filesystem::exists(first.path));
    EXPECT_TRUE(std::filesystem::exists(later.path));
    EXPECT_EQ(ahead.list().size(), 207u);

    // A run's own backups stay even when the clock makes them look old and the folder
    // is over its count; a plain store's earlier one goes.
    const auto old = now - std::chrono::hours(24 * 400);
    for (const bool ofOneRun : {true, false}) {
        const auto folder = dir / (ofOneRun ? "run" : "plain");
        for (int i = 0; i < 200; ++i) {
            placeBackup(folder, now - second(i + 10), i);
        }
        const BackupStore store = ofOneRun ? BackupStore::forRun(folder) : BackupStore(folder);
        const StoredBackup a =
            store.store(dataHeader(), numberedImage(1), BackupKind::Read, {}, old);
        const StoredBackup b =
            store.store(dataHeader(), numberedImage(2), BackupKind::Read, {}, old + second(1));
        ASSERT_TRUE(a.result.ok() && b.result.ok());
        EXPECT_EQ(std::filesystem::exists(a.path), ofOneRun);
        EXPECT_TRUE(std::filesystem::exists(b.path));
    }
}

TEST(UserDataDir, FollowsXdgDataHomeElseHome) {
    EXPECT_EQ(userDataDirFrom("/xdg", "/home/u"), std::filesystem::path("/xdg/qzm836"));
    EXPECT_EQ(userDataDirFrom("", "/home/u"), std::filesystem::path("/home/u/.local/share/qzm836"));
    EXPECT_EQ(userDataDirFrom("relative", "/home/u"),
              std::filesystem::path("/home/u/.local/share/qzm836"));
    EXPECT_FALSE(userDataDirFrom("", ""));
    EXPECT_FALSE(userDataDirFrom("", "relative/home"));
}

TEST(BackupSettings, OnUnlessSwitchedOffAndVerifyRemembered) {
    TempDir dir;
    const auto settings = dir / "setting.ini";
    test::writeFile(settings, "[setup]\ncom=1\n");
    EXPECT_TRUE(readBackupEnabled(settings));
    EXPECT_FALSE(readVerifyAfterWrite(settings));
    ASSERT_TRUE(writeVerifyAfterWrite(true, settings));
    EXPECT_TRUE(readVerifyAfterWrite(settings));
    test::writeFile(settings, "[backup]\nenabled=0\n");
    EXPECT_FALSE(readBackupEnabled(settings));
}

}  // namespace
}  // namespace qzm
