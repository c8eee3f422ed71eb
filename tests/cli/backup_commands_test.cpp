// SPDX-License-Identifier: GPL-3.0-or-later
// Automatic backups, restore and the checked write of qzm836-cli against the emulator.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli_transfer_fixture.h"
#include "radio/data_file.h"
#include "test_images.h"

namespace qzm::test {
namespace {

class CliBackupTest : public CliTransferTest {
  protected:
    // A radio holding `image` on COM1 (no search) that saves what is written to it.
    void radioHolding(const RadioImage& image, std::vector<std::string> faults = {}) {
        writeDocument("radio-memory.836", image);
        std::vector<std::string> arguments = {
            "--image", path("radio-memory.836"), "--save", path("saved.836"), "--speed", "0"};
        arguments.insert(arguments.end(), faults.begin(), faults.end());
        std::filesystem::remove(dir_ / "saved.836");
        writeSettings("com=1\nsearchcom=0\n" + extraSetup_, {{1, startRadio(arguments)}});
    }

    std::vector<std::filesystem::path> backupFiles() const {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(backupFolder(), error)) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    // The one file whose name ends in `suffix`.
    std::filesystem::path backupEndingIn(const std::string& suffix) const {
        std::filesystem::path found;
        for (const auto& file : backupFiles()) {
            if (file.filename().string().ends_with(suffix)) {
                EXPECT_TRUE(found.empty()) << "two backups end in " << suffix;
                found = file;
            }
        }
        return found;
    }

    static RadioImage imageOf(const std::filesystem::path& file) {
        const LoadedDataFile loaded = loadDataFile(file);
        EXPECT_EQ(loaded.status, LoadStatus::Loaded) << file << " " << loaded.errorText;
        return loaded.contents.image;
    }

    std::string extraSetup_;
};

TEST_F(CliBackupTest, ReadAndWriteLeaveBackupsAndTheListShowsThem) {
    const RadioImage memory = patternImage();
    radioHolding(memory);
    ProcessResult read = cli({"read", path("out.836")});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const auto readBackup = backupEndingIn("-read.836");
    ASSERT_FALSE(readBackup.empty());
    EXPECT_NE(read.err.find("Backup: " + readBackup.string() + "\n"), std::string::npos)
        << read.err;
    EXPECT_EQ(readFile(readBackup), readFile(dir_ / "out.836"));  // byte for byte

    RadioImage edited = RadioImage::fresh();
    edited.setFrequencyText(1, ChannelSide::Receive, "446.00625");
    edited.setFrequencyText(2, ChannelSide::Receive, "446.01250");
    writeDocument("edited.836", edited);
    radioHolding(memory);
    ProcessResult write = cli({"write", path("edited.836"), "--verify"});
    ASSERT_EQ(write.exitCode, 0) << write.err;
    EXPECT_NE(write.err.find("backup 100%\n"), std::string::npos) << write.err;
    EXPECT_NE(write.err.find("verify 100%\n"), std::string::npos) << write.err;
    EXPECT_NE(write.err.find("Verified"), std::string::npos) << write.err;
    const auto beforeWrite = backupEndingIn("-before-write.836");
    ASSERT_FALSE(beforeWrite.empty());
    EXPECT_NE(write.err.find("Backup: " + beforeWrite.string() + "\n"), std::string::npos)
        << write.err;
    EXPECT_TRUE(sameSpan(imageOf(beforeWrite), memory));
    EXPECT_TRUE(sameSpan(imageOf(path("saved.836")), edited));

    ProcessResult list = cli({"backups"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const auto firstLine = list.out.find("\n   1  ");
    const auto secondLine = list.out.find("\n   2  ");
    ASSERT_NE(firstLine, std::string::npos) << list.out;
    ASSERT_NE(secondLine, std::string::npos) << list.out;
    // Newest first.
    EXPECT_NE(list.out.find("before-write"), std::string::npos) << list.out;
    EXPECT_LT(list.out.find("before-write"), list.out.find("read ")) << list.out;
}

TEST_F(CliBackupTest, ListNamesBandAndProgrammedChannels) {
    RadioImage memory = RadioImage::fresh();
    memory.setBandIndex(4);
    for (int n : {1, 5, 9}) {
        memory.setFrequencyText(n, ChannelSide::Receive, "145.50000");
    }
    radioHolding(memory);
    ASSERT_EQ(cli({"read", path("out.836")}).exitCode, 0);
    ProcessResult list = cli({"backups"});
    EXPECT_NE(list.out.find("read          136-174 MHz   3\n"), std::string::npos) << list.out;

    std::filesystem::remove_all(backupFolder());
    ProcessResult none = cli({"backups"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "No backups in " + backupFolder().string() + "\n");
}

TEST_F(CliBackupTest, VerifyNamesTheFirstBlocksThatDiffer) {
    writeDocument("doc.836", patternImage());
    radioHolding(RadioImage::fresh(), {"--corrupt", "5"});
    ProcessResult write = cli({"write", path("doc.836"), "--verify"});
    EXPECT_EQ(write.exitCode, 6) << write.err;
    EXPECT_NE(write.err.find("qzm836-cli: verify failed: the radio holds other data than was "
                             "written; blocks that differ (address): 5 (0x028)\n"),
              std::string::npos)
        << write.err;
    // Without --verify the same cable goes unnoticed.
    radioHolding(RadioImage::fresh(), {"--corrupt", "5"});
    EXPECT_EQ(cli({"write", path("doc.836")}).exitCode, 0);
}

TEST_F(CliBackupTest, NoWriteWithoutABackupUnlessBackupsAreOff) {
    writeDocument("doc.836", patternImage());
    const RadioImage memory = RadioImage::fresh();

    // The data folder cannot be made: a file stands where it would go.
    writeFile(dir_ / "data", "in the way");
    radioHolding(memory);
    ProcessResult refused = cli({"write", path("doc.836")});
    EXPECT_EQ(refused.exitCode, 3) << refused.err;
    EXPECT_NE(refused.err.find("the backup of the radio could not be stored: "), std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("Nothing was written"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "saved.836"));

    // Switched off for the run, or in the settings: the write goes ahead without one.
    radioHolding(memory);
    ProcessResult noBackup = cli({"write", path("doc.836"), "--no-backup"});
    EXPECT_EQ(noBackup.exitCode, 0) << noBackup.err;
    EXPECT_EQ(noBackup.out, "");
    EXPECT_EQ(noBackup.err.find("backup "), std::string::npos) << noBackup.err;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "saved.836"));

    std::filesystem::remove(dir_ / "data");
    extraSetup_ = "[backup]\nenabled=0\n";
    radioHolding(memory);
    EXPECT_EQ(cli({"read", path("out.836")}).exitCode, 0);
    radioHolding(memory);
    EXPECT_EQ(cli({"write", path("doc.836")}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "data"));
}

TEST_F(CliBackupTest, RestoreWritesABackupBackWithABackupOfItsOwn) {
    const RadioImage original = patternImage();
    RadioImage replacement = RadioImage::fresh();
    replacement.setSquelchLevel(2);
    writeDocument("replacement.836", replacement);
    radioHolding(original);
    ASSERT_EQ(cli({"write", path("replacement.836")}).exitCode, 0);
    ASSERT_EQ(backupFiles().size(), 1u);
    const std::filesystem::path first = backupFiles()[0];

    // The radio now holds the replacement; number 1 is the memory it held before.
    radioHolding(replacement);
    ProcessResult restore = cli({"restore", "--verify"});
    ASSERT_EQ(restore.exitCode, 0) << restore.err;
    EXPECT_TRUE(sameSpan(imageOf(path("saved.836")), original));
    EXPECT_EQ(restore.out.find("Restoring " + first.string() + "\n"), 0u) << restore.out;
    ASSERT_EQ(backupFiles().size(), 2u);

    // By file name as well; and a number beyond the list is refused before any port.
    radioHolding(original);
    EXPECT_EQ(cli({"restore", path("replacement.836"), "--no-backup"}).exitCode, 0);
    EXPECT_TRUE(sameSpan(imageOf(path("saved.836")), replacement));
    ProcessResult beyond = cli({"restore", "9"});
    EXPECT_EQ(beyond.exitCode, 3);
    EXPECT_NE(beyond.err.find("there is no backup number 9 (1 to 2"), std::string::npos)
        << beyond.err;
}

}  // namespace
}  // namespace qzm::test
