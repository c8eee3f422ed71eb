// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "radio/data_file.h"
#include "test_files.h"

namespace qzm {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The id of a process that has ended and been reaped.
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST(AtomicFile, AnyLegalNameCanBeSaved) {
    TempDir dir;
    for (std::size_t length : {243u, 250u, 255u}) {
        const auto file = dir / std::string(length, 'n');
        const Status result = writeFileAtomically(file, "data");
        EXPECT_TRUE(result.ok()) << length << ": " << result.error().text;
        EXPECT_EQ(readFile(file), "data");
    }
    EXPECT_EQ(folderEntries(dir.path()).size(), 3u);  // no temporary file left
}

TEST(AtomicFile, PathsThatCannotHoldAFileSayWhy) {
    TempDir dir;
    writeFile(dir / "plain", "x");
    std::filesystem::create_symlink("loop-b", dir / "loop-a");
    std::filesystem::create_symlink("loop-a", dir / "loop-b");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    struct Case {
        std::filesystem::path file;
        std::string reason;
    };
    const Case cases[] = {
        {dir / "loop-a", "the path is a loop of symbolic links"},
        {dir / "loop-a" / "x", "the path is a loop of symbolic links"},
        {dir / "plain" / "x.836", "a part of the path is not a folder"},
        {dir / "fifo", "not a regular file"},
        {dir / std::string(256, 'n'), "the name is too long"},
    };
    for (const auto& c : cases) {
        const Status result = writeFileAtomically(c.file, "data");
        EXPECT_FALSE(result.ok()) << c.file;
        EXPECT_EQ(result.error().text.find(c.reason), result.error().text.size() - c.reason.size())
            << result.error().text;
    }
    // Nothing was replaced: the links are still links, the fifo still a fifo.
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "loop-a"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo"));
    EXPECT_EQ(folderEntries(dir.path()),
              (std::vector<std::string>{"fifo", "loop-a", "loop-b", "plain"}));
}

TEST(AtomicFile, TemporariesOfEndedProcessesGoWhenTheFolderIsWritten) {
    TempDir dir;
    const std::string deadPid = std::to_string(endedProcess());
    const std::string dead = ".qzm-" + deadPid + "-3.tmp";
    const std::string deadOld = ".a.836." + deadPid + ".0.tmp";  // an earlier version's
    const std::string ours = ".qzm-" + std::to_string(::getpid()) + "-99.tmp";
    const std::vector<std::string> kept{
        ".qzm-1-0.tmp",  // process 1 always runs
        ".qzm-x-0.tmp", ".qzm--0.tmp", ".qzm-12-.tmp", ".qzm-12-1.tmp.bak",
        "qzm-12-1.tmp", "notes.tmp",   ours,
    };
    writeFile(dir / dead, "half a file");
    writeFile(dir / deadOld, "half a file");
    for (const auto& name : kept) {
        writeFile(dir / name, "x");
    }
    // A folder of the same pattern is not ours to remove.
    const std::string deadFolder = ".qzm-" + std::to_string(endedProcess()) + "-4.tmp";
    std::filesystem::create_directory(dir / deadFolder);

    ASSERT_TRUE(writeFileAtomically(dir / "a.836", "data").ok());
    std::vector<std::string> expected = kept;
    expected.push_back("a.836");
    expected.push_back(deadFolder);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderEntries(dir.path()), expected);
}

TEST(AtomicFile, TemporaryNamesAreRecognised) {
    pid_t pid = 0;
    EXPECT_TRUE(parseTemporaryName(".qzm-4242-17.tmp", pid));
    EXPECT_EQ(pid, 4242);
    for (const char* name : {".qzm-0-1.tmp", ".qzm-99999999999999-1.tmp", ".qzm-12-1x.tmp",
                             ".qzm-+12-1.tmp", ".qzm-12.tmp", ".a.836.12.1.tmp"}) {
        EXPECT_FALSE(parseTemporaryName(name, pid)) << name;
    }
    EXPECT_TRUE(parseOldTemporaryName(".a.836.4243.0.tmp", "a.836", pid));
    EXPECT_EQ(pid, 4243);
    for (const char* name : {".a.836.12.tmp", ".a.836..1.tmp", "a.836.12.1.tmp", ".a.83.12.1.tmp",
                             ".a.836.12.1.tmpx", ".a.836.tmp"}) {
        EXPECT_FALSE(parseOldTemporaryName(name, "a.836", pid)) << name;
    }
}

// Saves 4144 bytes to `file` in a child whose file size limit is 1 KiB (the test's own
// limit stays): 0 when the save failed naming the limit, 1 when it succeeded, 2 when it
// failed otherwise, -1 when the child was ended by a signal (SIGXFSZ).
int saveBeyondFileSizeLimit(const std::filesystem::path& file) {
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const Status result = writeFileAtomically(file, std::string(4144, 'x'));
        const bool named = result.error().text.find("file size limit") != std::string::npos;
        ::_exit(result.ok() ? 1 : named ? 0 : 2);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// Past `ulimit -f` the kernel would end the program with SIGXFSZ; the save must fail
// with a message instead and leave the old file.
TEST(AtomicFile, AFileSizeLimitIsAWriteError) {
    TempDir dir;
    const auto file = dir / "a.836";
    writeFile(file, "old");
    EXPECT_EQ(saveBeyondFileSizeLimit(file), 0);
    EXPECT_EQ(readFile(file), "old");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"a.836"});
}

// A folder that refuses new files, as a shared folder does for a user; the tests run
// as root, whom no permission stops.
int refuseNewFiles(const char*, int, mode_t) {
    errno = EACCES;
    return -1;
}

class InPlaceFallback : public ::testing::Test {
  protected:
    InPlaceFallback() { setTemporaryOpenerForTesting(refuseNewFiles); }
    ~InPlaceFallback() override { setTemporaryOpenerForTesting(nullptr); }

    ino_t inode(const std::filesystem::path& file) {
        struct stat info {};
        return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
    }

    TempDir dir_;
};

TEST_F(InPlaceFallback, AWritableFileIsRewrittenWhereItStands) {
    const auto file = dir_ / "a.csv";
    writeFile(file, "a much longer old content than the new one");
    const ino_t before = inode(file);
    const Status result = writeFileAtomically(file, "new");
    ASSERT_TRUE(result.ok()) << result.error().text;
    EXPECT_EQ(readFile(file), "new");
    EXPECT_EQ(inode(file), before);

    // Without a file to rewrite there is nothing to fall back on.
    const Status fresh = writeFileAtomically(dir_ / "b.csv", "new");
    EXPECT_FALSE(fresh.ok());
    EXPECT_NE(fresh.error().text.find("Cannot create"), std::string::npos);
    EXPECT_NE(fresh.error().text.find("Permission denied"), std::string::npos);
    EXPECT_EQ(folderEntries(dir_.path()), std::vector<std::string>{"a.csv"});
}

TEST_F(InPlaceFallback, DataFilesAndSettingsAreSaved) {
    const auto data = dir_ / "a.836";
    const auto settings = dir_ / "setting.ini";
    writeFile(data, std::string(kDataFileSize, '\0'));
    writeFile(settings, "; comment\r\n[setup]\r\ncom=1\r\n");
    RadioImage image = RadioImage::fresh();
    image.setFrequencyText(1, ChannelSide::Receive, "446.00625");
    FileHeader header;
    header.writeMagic();
    ASSERT_TRUE(storeDataFile(data, header, image).ok());
    ASSERT_TRUE(writeProfileString(settings, "setup", "com", "3"));
    const LoadedDataFile loaded = loadDataFile(data);
    ASSERT_EQ(loaded.status, LoadStatus::Loaded);
    EXPECT_EQ(loaded.contents.image.bytes, image.bytes);
    EXPECT_EQ(readFile(settings), "; comment\r\n[setup]\r\ncom=3\r\n");
}

TEST_F(InPlaceFallback, AFailedRewriteKeepsTheOldContents) {
    const auto file = dir_ / "a.836";
    writeFile(file, "old");
    EXPECT_EQ(saveBeyondFileSizeLimit(file), 0);
    EXPECT_EQ(readFile(file), "old");
}

}  // namespace
}  // namespace qzm
