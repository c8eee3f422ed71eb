// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "scripted_file_dialog.h"
#include "scripted_message_box.h"

namespace qzm::test {
namespace {

constexpr MessageStyle kQuestion{MessageIcon::Exclamation, MessageButtons::OkCancel,
                                 MessageOwner::MainWindow};

TEST(ScriptedMessageBox, AnswersInQueueOrderAndRecordsQuestions) {
    ScriptedMessageBox box;
    box.expect(MessageResult::Cancel, "clear").expect(MessageResult::Ok);
    EXPECT_EQ(box.show("clear all?", "Prompt", kQuestion), MessageResult::Cancel);
    EXPECT_EQ(box.show("anything", "Prompt", kQuestion), MessageResult::Ok);
    ASSERT_EQ(box.asked().size(), 2u);
    EXPECT_EQ(box.asked()[0].caption, "Prompt");
    EXPECT_EQ(box.pending(), 0u);
}

TEST(ScriptedMessageBox, FailsOnUnexpectedWrongAndUnaskedQuestions) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBox box;
            EXPECT_EQ(box.show("surprise", "", kQuestion), MessageResult::Cancel);
        },
        "unexpected message box");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBox box;
            box.expect(MessageResult::Ok, "save");
            box.show("clear", "", kQuestion);
        },
        "does not contain");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBox box;
            box.expect(MessageResult::Ok);
        },
        "never asked");
}

TEST(ScriptedFileDialog, AnswersAndFailsLikeTheMessageBox) {
    {
        ScriptedFileDialog dialogs;
        dialogs.expect(FileDialogMode::Open, "/tmp/a.836")
            .expect(FileDialogMode::Save, std::nullopt);
        EXPECT_EQ(dialogs.choose({FileDialogMode::Open}), std::filesystem::path("/tmp/a.836"));
        EXPECT_EQ(dialogs.choose({FileDialogMode::Save}), std::nullopt);
        EXPECT_EQ(dialogs.asked().size(), 2u);
    }
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedFileDialog dialogs;
            dialogs.choose({FileDialogMode::Open});
        },
        "unexpected open dialog");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedFileDialog dialogs;
            dialogs.expect(FileDialogMode::Save, "/tmp/x.836");
            dialogs.choose({FileDialogMode::Open});
        },
        "expected a save dialog");
}

}  // namespace
}  // namespace qzm::test
