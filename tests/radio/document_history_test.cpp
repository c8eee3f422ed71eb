// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/document_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "radio/data_file.h"
#include "radio/zavo_doc.h"
#include "scripted_message_box.h"
#include "test_files.h"

namespace qzm {
namespace {

// A state with noise in every byte, fields or not.
DocumentSnapshot noiseState(unsigned seed) {
    std::mt19937 random(seed);
    DocumentSnapshot state;
    for (auto& b : state.header.bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    for (auto& b : state.image.bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    return state;
}

TEST(DocumentHistoryTest, UndoAndRedoGiveBackEveryByte) {
    DocumentHistory history;
    std::vector<DocumentSnapshot> states;
    for (unsigned i = 0; i < 5; ++i) {
        states.push_back(noiseState(i));
    }
    history.reset(states[0]);
    for (unsigned i = 1; i < 5; ++i) {
        ASSERT_TRUE(history.record(states[i], {EditKind::CellEdit, static_cast<int>(i)}));
    }
    EXPECT_FALSE(history.canRedo());
    for (int i = 3; i >= 0; --i) {
        EXPECT_EQ(history.undoStep(), (EditStep{EditKind::CellEdit, i + 1}));
        const DocumentSnapshot* state = history.undo();
        ASSERT_NE(state, nullptr);
        EXPECT_TRUE(*state == states[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.undo(), nullptr);
    for (unsigned i = 1; i < 5; ++i) {
        EXPECT_EQ(history.redoStep(), (EditStep{EditKind::CellEdit, static_cast<int>(i)}));
        const DocumentSnapshot* state = history.redo();
        ASSERT_NE(state, nullptr);
        EXPECT_TRUE(*state == states[i]) << i;
    }
    EXPECT_EQ(history.redo(), nullptr);
}

TEST(DocumentHistoryTest, AChangeOfNoByteIsNoStep) {
    DocumentHistory history;
    const DocumentSnapshot state = noiseState(7);
    history.reset(state);
    EXPECT_FALSE(history.record(state, {EditKind::Paste, 2}));
    EXPECT_FALSE(history.canUndo());
    // One byte without a field is a change like any other.
    DocumentSnapshot changed = state;
    changed.image.bytes[0x3F0] ^= 0x01;
    EXPECT_TRUE(history.record(changed, {}));
    changed = state;
    changed.header.bytes[40] ^= 0x80;
    EXPECT_TRUE(history.record(changed, {}));
    EXPECT_EQ(history.undoCount(), 2u);
}

TEST(DocumentHistoryTest, SavedPositionFollowsUndoRedoAndNewBranches) {
    DocumentHistory history;
    history.reset(noiseState(0));
    EXPECT_TRUE(history.atSavedState());
    history.record(noiseState(1), {});
    EXPECT_FALSE(history.atSavedState());
    history.undo();
    EXPECT_TRUE(history.atSavedState());
    history.redo();
    history.markSaved();
    history.undo();
    EXPECT_FALSE(history.atSavedState());
    // A new change after the undo: the saved state can never come back.
    history.record(noiseState(2), {});
    EXPECT_FALSE(history.canRedo());
    history.undo();
    EXPECT_FALSE(history.atSavedState());
    history.reset(noiseState(3), false);
    EXPECT_FALSE(history.atSavedState());
}

TEST(DocumentHistoryTest, KeepsTheNewestStepsAndForgetsASavedStateDroppedOff) {
    DocumentHistory history(100);
    history.reset(noiseState(0));
    for (unsigned i = 1; i <= 150; ++i) {
        history.record(noiseState(i), {EditKind::CellEdit, static_cast<int>(i)});
    }
    EXPECT_EQ(history.undoCount(), 100u);
    EXPECT_FALSE(history.atSavedState());
    const DocumentSnapshot* oldest = nullptr;
    while (history.canUndo()) {
        oldest = history.undo();
    }
    ASSERT_NE(oldest, nullptr);
    EXPECT_TRUE(*oldest == noiseState(50));
    EXPECT_FALSE(history.atSavedState());  // the saved state was dropped
    EXPECT_GE(DocumentHistory::kDefaultMaxSteps, 100u);
}

// --- the document's history ---

class UndoTestHost final : public DocumentHost {
  public:
    bool skip = true;
    bool skipClearPrompt() const override { return skip; }
    void setSkipClearPrompt(bool value) override { skip = value; }
    bool saveModified(CZavoDoc&) override { return true; }
    std::string applicationName() const override { return "App"; }
};

class DocumentUndoTest : public ::testing::Test {
  protected:
    DocumentUndoTest()
        : document(
              messages, [](std::string_view key) { return std::string(key); }, host) {
        EXPECT_TRUE(document.newDocument().done());
    }

    test::TempDir folder;
    test::ScriptedMessageBox messages;
    UndoTestHost host;
    CZavoDoc document;
};

TEST_F(DocumentUndoTest, EachKindOfChangeUndoesToTheExactBytes) {
    struct Case {
        EditKind kind;
        std::function<void(CZavoDoc&)> write;
    };
    const Case cases[] = {
        {EditKind::CellEdit,
         [](CZavoDoc& d) { d.setFrequencyText(2, ChannelSide::Receive, "446.00625"); }},
        {EditKind::CheckBox, [](CZavoDoc& d) { d.setBeepEnabled(1); }},
        {EditKind::SettingsList, [](CZavoDoc& d) { d.setSquelchLevel(8); }},
        {EditKind::DtmfCode,
         [](CZavoDoc& d) {
             d.setDtmfCode({1, 2, 3, 4, 5});
         }},
        {EditKind::RadioRead, [](CZavoDoc& d) { d.image().bytes.fill(0x11); }},
        {EditKind::Paste, [](CZavoDoc& d) { d.image().bytes[16 * 3 + 14] = 0x42; }},
    };
    // Bytes without a field, which no rule would restore.
    document.image().bytes[0x3E5] = 0x5A;
    document.image().bytes[16 * 2 + 13] = 0x00;
    document.onImageReplaced();
    for (const Case& c : cases) {
        const DocumentSnapshot before = document.snapshot();
        EXPECT_TRUE(document.change({c.kind, 1}, [&] { c.write(document); }));
        const DocumentSnapshot after = document.snapshot();
        ASSERT_FALSE(after == before);
        EXPECT_TRUE(document.IsModified());
        EXPECT_EQ(document.undoStep(), (EditStep{c.kind, 1}));
        ASSERT_TRUE(document.undo());
        EXPECT_TRUE(document.snapshot() == before) << static_cast<int>(c.kind);
        ASSERT_TRUE(document.redo());
        EXPECT_TRUE(document.snapshot() == after) << static_cast<int>(c.kind);
        ASSERT_TRUE(document.undo());
    }
}

TEST_F(DocumentUndoTest, BandChangeUndoesImageAndBandLimits) {
    document.setFrequencyText(1, ChannelSide::Receive, "446.00625");
    document.onImageReplaced();
    const DocumentSnapshot before = document.snapshot();
    const BandLimits limits = document.bandLimits();
    document.changeBand(4);
    EXPECT_NE(document.bandLimits(), limits);
    EXPECT_EQ(document.undoStep(), (EditStep{EditKind::BandChange, 1}));
    ASSERT_TRUE(document.undo());
    EXPECT_TRUE(document.snapshot() == before);
    EXPECT_EQ(document.bandLimits(), limits);
    EXPECT_FALSE(document.IsModified());
}

TEST_F(DocumentUndoTest, AnEditorSessionIsOneStepAndCountsAsModifiedWhileOpen) {
    document.beginChange({EditKind::CellEdit, 1});
    EXPECT_FALSE(document.IsModified());  // nothing written yet
    document.setHighPower(3, 0);
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(document.canUndo());
    document.setFrequencyText(3, ChannelSide::Receive, "446.10000");
    document.setFrequencyText(3, ChannelSide::Transmit, "446.10000");
    EXPECT_TRUE(document.endChange());
    EXPECT_EQ(document.history().undoCount(), 1u);
    // A session that wrote the same bytes back is no step.
    EXPECT_FALSE(document.change({EditKind::CellEdit, 1}, [&] {
        document.setFrequencyText(3, ChannelSide::Receive, "446.10000");
    }));
    EXPECT_EQ(document.history().undoCount(), 1u);
}

TEST_F(DocumentUndoTest, UndoDuringASessionTakesBackTheWholeSession) {
    const DocumentSnapshot before = document.snapshot();
    document.beginChange({EditKind::SettingsList, 1});
    document.setSquelchLevel(5);
    document.setSquelchLevel(6);
    EXPECT_EQ(document.undoStep(), (EditStep{EditKind::SettingsList, 1}));
    EXPECT_FALSE(document.canRedo());
    ASSERT_TRUE(document.undo());
    EXPECT_TRUE(document.snapshot() == before);
    EXPECT_EQ(document.redoStep(), (EditStep{EditKind::SettingsList, 1}));
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(document.squelchLevel(), 6);
}

TEST_F(DocumentUndoTest, ModifiedFollowsTheSavedPosition) {
    document.change({EditKind::CheckBox, 1}, [&] { document.setBeepEnabled(1); });
    ASSERT_TRUE(document.saveAs(folder / "a.836").done());
    EXPECT_FALSE(document.IsModified());
    document.change({EditKind::CheckBox, 1}, [&] { document.setVoxEnabled(1); });
    EXPECT_TRUE(document.IsModified());
    document.undo();
    EXPECT_FALSE(document.IsModified());  // back where the file is
    document.undo();
    EXPECT_TRUE(document.IsModified());  // before the save
    document.redo();
    EXPECT_FALSE(document.IsModified());
    // Undone to before the save, then a new change: the file's state is out of reach.
    document.undo();
    document.change({EditKind::SettingsList, 1}, [&] { document.setSquelchLevel(1); });
    document.undo();
    EXPECT_TRUE(document.IsModified());
}

TEST_F(DocumentUndoTest, NewAndOpenStartAFreshHistory) {
    document.change({EditKind::CheckBox, 1}, [&] { document.setBeepEnabled(1); });
    // Bytes without a field in the header come back from the file as they were.
    ASSERT_TRUE(document.saveAs(folder / "a.836").done());
    auto file = readDataFileBytes(folder / "a.836").bytes;
    file[40] = 0x77;
    test::writeFile(folder / "b.836", std::string(file.begin(), file.end()));
    ASSERT_TRUE(document.openDocument(folder / "b.836").done());
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.IsModified());
    document.change({EditKind::ClearChannels, 1}, [&] { document.image().bytes.fill(0xFF); });
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(document.header().bytes[40], 0x77);
    EXPECT_TRUE(std::equal(document.image().bytes.begin(), document.image().bytes.end(),
                           file.begin() + static_cast<std::ptrdiff_t>(kFileHeaderSize)));

    document.change({EditKind::CheckBox, 1}, [&] { document.setVoxEnabled(1); });
    host.skip = true;
    ASSERT_TRUE(document.newDocument().done());
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.canRedo());
    EXPECT_FALSE(document.IsModified());
}

TEST_F(DocumentUndoTest, UnnamedWritesBelongToTheStateAndAMarkMakesThemAStep) {
    // Written by whoever set the document up: no step, not modified.
    document.image().bytes[0x3F0] = 0x01;
    document.onImageReplaced();
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.IsModified());
    // The classic way of telling a change: the next settled change records it unnamed.
    document.image().bytes[0x3F0] = 0x02;
    document.SetModifiedFlag(true);
    EXPECT_TRUE(document.IsModified());
    document.beginChange({EditKind::CheckBox, 1});
    document.endChange();
    EXPECT_EQ(document.undoStep(), (EditStep{EditKind::Change, 1}));
    document.undo();
    EXPECT_EQ(document.image().bytes[0x3F0], 0x01);
    EXPECT_FALSE(document.IsModified());
}

}  // namespace
}  // namespace qzm
