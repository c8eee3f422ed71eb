// SPDX-License-Identifier: GPL-3.0-or-later
// write and restore send only the blocks that differ from the backup read, unless
// --all-blocks or "transfer"/"allblocks" asks for all of them.
#include <gtest/gtest.h>

#include "cli_transfer_fixture.h"

namespace qzm::test {
namespace {

class CliChangedBlocksTest : public CliTransferTest {
  protected:
    // A radio holding `memory` on COM1 that saves what a whole write leaves in it.
    void radioHolding(const RadioImage& memory, const std::string& more = {}) {
        writeDocument("memory.836", memory);
        std::filesystem::remove(dir_ / "saved.836");
        writeSettings("com=1\nsearchcom=0\n" + more,
                      {{1, startRadio({"--image", path("memory.836"), "--save", path("saved.836"),
                                       "--speed", "0"})}});
    }
    static RadioImage memory() {
        RadioImage image = RadioImage::fresh();
        for (int n = 1; n <= 16; ++n) {
            image.setFrequencyText(n, ChannelSide::Receive, "446.00625");
        }
        return image;
    }
};

TEST_F(CliChangedBlocksTest, OnlyTheChangedBlocksAreSentAndTheRadioEndsWithTheImage) {
    RadioImage edited = memory();
    edited.setFrequencyText(3, ChannelSide::Receive, "446.10625");
    edited.setFrequencyText(9, ChannelSide::Receive, "446.10625");
    writeDocument("edited.836", edited);
    radioHolding(memory());

    ProcessResult write = cli({"write", path("edited.836"), "--verify"});
    ASSERT_EQ(write.exitCode, 0) << write.err;
    // Told after the backup read, before the blocks go (too fast here to show their lines).
    EXPECT_NE(write.err.find("backup 100%\nWriting 2 changed blocks of 124\n"), std::string::npos)
        << write.err;
    EXPECT_NE(write.err.find("verify 100%\n"), std::string::npos) << write.err;
    EXPECT_NE(write.err.find("Verified"), std::string::npos) << write.err;
    // Not a whole write: the emulator stored nothing, but it holds the image.
    EXPECT_FALSE(std::filesystem::exists(dir_ / "saved.836"));
    ProcessResult diff = cli({"diff", "--radio", path("edited.836")});
    EXPECT_EQ(diff.exitCode, 0) << diff.out << diff.err;

    // Written again: nothing differs any more, nothing goes.
    ProcessResult again = cli({"write", path("edited.836"), "--verify"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_NE(again.err.find("The radio already holds this image; nothing was written.\n"),
              std::string::npos)
        << again.err;
    EXPECT_EQ(again.err.find("write "), std::string::npos) << again.err;
    EXPECT_EQ(again.err.find("verify "), std::string::npos) << again.err;
}

TEST_F(CliChangedBlocksTest, AllBlocksFromTheOptionOrTheSettingRestoresTheWholeWrite) {
    RadioImage edited = memory();
    edited.setFrequencyText(1, ChannelSide::Receive, "446.10625");
    writeDocument("edited.836", edited);
    struct Case {
        const char* name;
        std::string setting;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"option", "", {"--all-blocks"}},
        {"setting", "[transfer]\nallblocks=1\n", {}},
    };
    for (const Case& c : cases) {
        radioHolding(memory(), c.setting);
        std::vector<std::string> arguments = {"write", path("edited.836"), "--verify"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        ProcessResult write = cli(arguments);
        ASSERT_EQ(write.exitCode, 0) << c.name << "\n" << write.err;
        EXPECT_EQ(write.err.find("changed block"), std::string::npos) << c.name << write.err;
        // All 124 blocks in one session: the emulator stores a whole write.
        ASSERT_TRUE(std::filesystem::exists(dir_ / "saved.836")) << c.name;
        const RadioImage saved = readDocument("saved.836");
        EXPECT_TRUE(std::equal(saved.bytes.begin(), saved.bytes.begin() + kRadioTransferSize,
                               edited.bytes.begin()))
            << c.name;
        radios_.clear();
    }
    EXPECT_EQ(cli({"read", path("x.836"), "--all-blocks"}).exitCode, 2);  // writes only
}

TEST_F(CliChangedBlocksTest, AFailedBlockTellsHowManyOfTheBlocksToSendWentIn) {
    RadioImage edited = memory();
    for (int n = 1; n <= 16; ++n) {
        edited.setFrequencyText(n, ChannelSide::Receive, "446.10625");
    }
    writeDocument("edited.836", edited);
    // Channel n lives in block 2n; the fourth changed block is refused.
    writeDocument("memory.836", memory());
    writeSettings("com=1\nsearchcom=0\n",
                  {{1, startRadio({"--image", path("memory.836"), "--nak", "8", "--speed", "0"})}});
    ProcessResult write = cli({"write", path("edited.836")});
    EXPECT_EQ(write.exitCode, 1) << write.err;
    EXPECT_NE(write.err.find("Writing 16 changed blocks of 124\n"), std::string::npos) << write.err;
    EXPECT_NE(write.err.find("part of the new image (blocks 3 of 16)"), std::string::npos)
        << write.err;
}

}  // namespace
}  // namespace qzm::test
