// SPDX-License-Identifier: GPL-3.0-or-later
// A run ended without a close (SIGTERM) keeps its unsaved changes, and the next start
// offers them back.
#include "app/unsaved_work.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>

#include "app/main_frame.h"
#include "app/zavo_app.h"
#include "app_fixture.h"
#include "radio/data_file.h"
#include "radio/zavo_doc.h"
#include "test_files.h"

namespace qzm::test {
namespace {

class UnsavedWorkTest : public AppTest {
  protected:
    void SetUp() override {
        writeSettings("[setup]\nlanguage=english\n");
        writeEnglish("IDS_ASK_UNSAVED_WORK=Open the kept changes in %1?\n");
        ASSERT_TRUE(start());
    }
    CZavoDoc& doc() { return *app().document(); }
    std::filesystem::path folder() const { return dir() / "data" / "qzm836"; }
};

TEST_F(UnsavedWorkTest, AnEndWithoutACloseKeepsTheChangesAndTheNextStartOffersThem) {
    app().endedWithoutClose();
    EXPECT_TRUE(keptUnsavedWork(folder()).empty()) << "nothing unsaved, nothing kept";

    const auto opened = writeDataFile("radio.836", 0x21);
    const auto onDisk = readBytes(opened);
    ASSERT_TRUE(app().openDocumentFile(opened));
    doc().setSquelchLevel(5);
    doc().SetModifiedFlag(true);
    const RadioImage edited = doc().image();
    ASSERT_TRUE(doc().IsModified());
    app().endedWithoutClose();
    const auto kept = keptUnsavedWork(folder());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0], unsavedWorkFile(folder(), ::getpid()));
    EXPECT_EQ(readBytes(opened), onDisk) << "the document's own file is left alone";

    // Cancel: not now; the next start asks again.
    const std::string question = "Open the kept changes in " + kept[0].string() + "?";
    messages_.expect(MessageResult::Cancel, question);
    restart();
    EXPECT_EQ(messages_.asked().back().style.buttons, MessageButtons::YesNoCancel);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_TRUE(std::filesystem::exists(kept[0]));

    // Yes: the changes as they were, without a file, still to be saved.
    messages_.expect(MessageResult::Yes, question);
    restart();
    EXPECT_EQ(doc().image().bytes, edited.bytes);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_TRUE(doc().pathName().empty());
    EXPECT_FALSE(std::filesystem::exists(kept[0]));

    const std::size_t questions = messages_.asked().size();
    restart();
    EXPECT_EQ(messages_.asked().size(), questions) << "offered once";
}

TEST_F(UnsavedWorkTest, NoDiscardsTheChangesAndAStartWithAFileLeavesThemForLater) {
    FileHeader header;
    header.writeMagic();
    RadioImage image = RadioImage::fresh();
    image.setSquelchLevel(3);
    const auto older = unsavedWorkFile(folder(), 100);
    const auto newer = unsavedWorkFile(folder(), 200);
    std::filesystem::create_directories(folder());
    ASSERT_TRUE(storeDataFile(older, header, image).ok());
    ASSERT_TRUE(storeDataFile(newer, header, image).ok());
    std::filesystem::last_write_time(
        older, std::filesystem::last_write_time(newer) - std::chrono::hours(1));
    qzm::test::writeFile(folder() / "unsaved-.836", "not one of ours");
    EXPECT_EQ(keptUnsavedWork(folder()), (std::vector<std::filesystem::path>{newer, older}));

    const std::size_t before = messages_.asked().size();
    restart({QString::fromStdString(writeDataFile("radio.836", 0x21).string())});
    EXPECT_EQ(messages_.asked().size(), before) << "a start with a file asks nothing";

    messages_.expect(MessageResult::No, newer.string());
    restart();
    EXPECT_FALSE(std::filesystem::exists(newer));
    EXPECT_FALSE(doc().IsModified());
    messages_.expect(MessageResult::No, older.string());
    restart();
    EXPECT_TRUE(keptUnsavedWork(folder()).empty());
}

}  // namespace
}  // namespace qzm::test
