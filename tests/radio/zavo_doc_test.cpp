// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/zavo_doc.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "radio/data_file.h"
#include "scripted_message_box.h"
#include "test_files.h"

namespace qzm {
namespace {

using test::ScriptedMessageBox;
using test::TempDir;

class FakeHost final : public DocumentHost {
  public:
    bool skip = false;
    int saveModifiedCalls = 0;
    std::function<bool(CZavoDoc&)> onSaveModified = [](CZavoDoc&) { return true; };

    bool skipClearPrompt() const override { return skip; }
    void setSkipClearPrompt(bool value) override { skip = value; }
    bool saveModified(CZavoDoc& document) override {
        ++saveModifiedCalls;
        return onSaveModified(document);
    }
    std::string applicationName() const override { return "App"; }
};

class CountingView final : public DocumentView {
  public:
    int updates = 0;
    void OnUpdate() override { ++updates; }
};

// A key's text is the key in brackets; a file error's sentence keeps its
// placeholders, as in every language.
std::string fakeText(std::string_view key) {
    if (key.starts_with("IDS_FILE_CANNOT")) {
        return "[" + std::string(key) + " %1: %2]";
    }
    return "[" + std::string(key) + "]";
}

std::string bytesText(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// A data file with our header and noise everywhere else.
std::vector<std::uint8_t> noiseFile(unsigned seed, std::size_t size = kDataFileSize) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> file(size);
    for (auto& b : file) {
        b = static_cast<std::uint8_t>(random());
    }
    std::copy(kFileMagic.begin(), kFileMagic.end(), file.begin());
    file[48 + image_offset::kBandCode] = 0xF8;
    return file;
}

class DocumentTest : public ::testing::Test {
  protected:
    DocumentTest() : document(messages, fakeText, host) {
        document.addView(view);
        host.skip = true;
        EXPECT_TRUE(document.newDocument().done());  // the quiet New of the start-up
        view.updates = 0;
    }

    // A document that differs from a new one in every part a New would reset.
    void makeEdits() {
        document.setBandIndex(4);
        document.setFrequencyText(3, ChannelSide::Receive, "146.00625");
        document.setSquelchLevel(7);
        document.SetModifiedFlag(true);
    }

    // A refused open leaves everything as it was: image, header, band, path, flag.
    struct Snapshot {
        std::array<std::uint8_t, kImageSize> image;
        FileHeader header;
        BandLimits limits;
        std::filesystem::path path;
        bool modified;
    };
    Snapshot snapshot() const {
        return {document.image().bytes, document.header(), document.bandLimits(),
                document.pathName(), document.IsModified()};
    }
    void expectUnchanged(const Snapshot& before) {
        EXPECT_EQ(document.image().bytes, before.image);
        EXPECT_EQ(document.header(), before.header);
        EXPECT_EQ(document.bandLimits(), before.limits);
        EXPECT_EQ(document.pathName(), before.path);
        EXPECT_EQ(document.IsModified(), before.modified);
        EXPECT_FALSE(host.skip);
    }

    void expectNewState() {
        EXPECT_EQ(document.image().bytes, RadioImage::fresh().bytes);
        EXPECT_TRUE(document.header().hasMagic());
        EXPECT_EQ(document.bandLimits(), (BandLimits{40'000'000, 47'000'000}));
        EXPECT_TRUE(document.pathName().empty());
        EXPECT_FALSE(document.IsModified());
    }

    std::filesystem::path writeFile(std::string_view name, const std::vector<std::uint8_t>& b) {
        const auto file = folder / name;
        test::writeFile(file, bytesText(b));
        return file;
    }

    TempDir folder;
    ScriptedMessageBox messages;
    FakeHost host;
    CountingView view;
    CZavoDoc document;
};

TEST_F(DocumentTest, StartUpNewIsQuietAndFresh) {
    EXPECT_TRUE(messages.asked().empty());
    EXPECT_FALSE(host.skip);
    expectNewState();
    for (std::size_t i = 32; i < kFileHeaderSize; ++i) {
        EXPECT_EQ(document.header().bytes[i], 0);
    }
}

TEST_F(DocumentTest, NewAsksBeforeClearingAndCancelChangesNothing) {
    for (const MessageResult answer : {MessageResult::Cancel, MessageResult::Ok}) {
        makeEdits();
        document.SetModifiedFlag(false);
        ASSERT_TRUE(document.saveAs(folder / "kept.836").done());
        const RadioImage before = document.image();
        messages.expect(answer, "[IDS_WARN_CLEAR]");
        const CommandResult result = document.newDocument();
        const auto& box = messages.asked().back();
        EXPECT_EQ(box.caption, "[IDS_PROMPT]");
        EXPECT_EQ(box.style.icon, MessageIcon::Exclamation);
        EXPECT_EQ(box.style.buttons, MessageButtons::OkCancel);
        if (answer == MessageResult::Ok) {
            EXPECT_TRUE(result.done());
            expectNewState();
            EXPECT_EQ(view.updates, 1);
        } else {
            EXPECT_EQ(result.status, CommandStatus::Cancelled);
            EXPECT_EQ(document.image().bytes, before.bytes);
            EXPECT_EQ(document.bandIndex(), 4);
            EXPECT_EQ(document.bandLower(), 13'600'000);
            EXPECT_EQ(document.pathName(), folder / "kept.836");
            EXPECT_EQ(view.updates, 0);
        }
    }
}

TEST_F(DocumentTest, NewOfAModifiedDocumentAsksTheHostFirst) {
    makeEdits();
    host.onSaveModified = [](CZavoDoc&) { return false; };
    EXPECT_EQ(document.newDocument().status, CommandStatus::Cancelled);
    EXPECT_EQ(host.saveModifiedCalls, 1);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.squelchLevel(), 7);
}

TEST_F(DocumentTest, SavedNewDocumentIsTheFreshImageAndLoadsBackQuietly) {
    const auto file = folder / "new.836";
    ASSERT_TRUE(document.saveAs(file).done());
    const std::string saved = test::readFile(file);
    ASSERT_EQ(saved.size(), kDataFileSize);
    EXPECT_EQ(saved.substr(0, 32), kFileMagic);
    EXPECT_EQ(static_cast<std::uint8_t>(saved[1026]), 0xF4);
    EXPECT_EQ(saved.substr(48), bytesText(encodeDataFile({}, RadioImage::fresh())).substr(48));
    EXPECT_TRUE(document.openDocument(file).done());
    EXPECT_EQ(document.pathName(), file);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(view.updates, 1);  // once, with the loaded image
}

TEST_F(DocumentTest, EveryByteSurvivesOpenAndSave) {
    const auto original = noiseFile(5);
    const auto file = writeFile("noise.836", original);
    ASSERT_TRUE(document.openDocument(file).done());
    EXPECT_EQ(document.bandLimits(), (BandLimits{13'600'000, 17'400'000}));
    ASSERT_TRUE(document.saveAs(folder / "copy.836").done());
    EXPECT_EQ(test::readFile(folder / "copy.836"), bytesText(original));
    EXPECT_EQ(document.pathName(), folder / "copy.836");
}

TEST_F(DocumentTest, HeaderCheckLooksAtTheFirst26BytesAndTheLength) {
    constexpr const char* kForeign = "[IDS_WARN_LOAD]";
    constexpr const char* kDamaged = "[IDS_WARN_LOAD_DAMAGED]";
    const struct {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> change;
        const char* refusal;  // nullptr: the file loads
    } cases[] = {
        {"other version", [](auto& f) { f[30] = '9'; }, nullptr},
        {"other bytes 32..47", [](auto& f) { std::fill_n(f.begin() + 32, 16, 0x5A); }, nullptr},
        {"longer", [](auto& f) { f.resize(9000, 0x11); }, nullptr},
        {"first byte", [](auto& f) { f[0] = 'q'; }, kForeign},
        {"26th byte", [](auto& f) { f[25] = 'A'; }, kForeign},
        {"short and foreign", [](auto& f) { f.resize(100), f[3] = 'x'; }, kForeign},
        {"one byte short", [](auto& f) { f.pop_back(); }, kDamaged},
        {"header only", [](auto& f) { f.resize(48); }, kDamaged},
        {"cut inside the header", [](auto& f) { f.resize(10); }, kDamaged},
        {"empty", [](auto& f) { f.clear(); }, kDamaged},
    };
    unsigned seed = 40;
    const auto earlier = writeFile("earlier.836", noiseFile(7));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto bytes = noiseFile(seed++);
        c.change(bytes);
        const auto file = writeFile("case.836", bytes);
        ASSERT_TRUE(document.openDocument(earlier).done());
        makeEdits();
        const Snapshot before = snapshot();
        if (c.refusal != nullptr) {
            messages.expect(MessageResult::Ok, c.refusal);
        }
        const int saveQuestions = host.saveModifiedCalls;
        const CommandResult result = document.openDocument(file);
        EXPECT_EQ(test::readFile(file), bytesText(bytes));  // never written to
        if (c.refusal == nullptr) {
            ASSERT_TRUE(result.done());
            ASSERT_TRUE(document.saveAs(file).done());
            bytes.resize(kDataFileSize);  // what follows the image is not written back
            EXPECT_EQ(test::readFile(file), bytesText(bytes));
        } else {
            EXPECT_EQ(result.status, CommandStatus::Refused);
            const auto& box = messages.asked().back();
            EXPECT_EQ(box.text, c.refusal);
            EXPECT_EQ(box.caption, "App");
            EXPECT_EQ(box.style.icon, MessageIcon::Stop);
            EXPECT_EQ(box.style.buttons, MessageButtons::Ok);
            EXPECT_EQ(box.style.owner, MessageOwner::Application);
            // Refused before anything is asked or reset.
            EXPECT_EQ(host.saveModifiedCalls, saveQuestions);
            expectUnchanged(before);
        }
    }
}

TEST_F(DocumentTest, OpenThatCannotReadTheFileLeavesTheDocumentAsItWas) {
    const std::pair<std::filesystem::path, const char*> cases[] = {
        {folder / "missing.836", "[IDS_ERRNO_ENOENT]"},
        {folder.path(), "[IDS_ERRNO_EISDIR]"},
    };
    for (const auto& [path, reason] : cases) {
        makeEdits();
        const Snapshot before = snapshot();
        const CommandResult result = document.openDocument(path);
        EXPECT_EQ(result.status, CommandStatus::FileError);
        // Worded in the document's language, naming the file.
        EXPECT_EQ(result.errorText,
                  "[IDS_FILE_CANNOT_OPEN " + path.string() + ": " + std::string(reason) + "]");
        expectUnchanged(before);
    }
}

TEST_F(DocumentTest, SavingChangesOverTheFileBeingOpenedLoadsWhatWasSaved) {
    const auto file = writeFile("same.836", noiseFile(3));
    ASSERT_TRUE(document.openDocument(file).done());
    document.setSquelchLevel(2);
    document.SetModifiedFlag(true);
    host.onSaveModified = [](CZavoDoc& doc) { return doc.saveAs(doc.pathName()).done(); };
    ASSERT_TRUE(document.openDocument(file).done());
    EXPECT_EQ(document.squelchLevel(), 2);
    EXPECT_FALSE(document.IsModified());
}

TEST_F(DocumentTest, OpenOfAModifiedDocumentAsksOnceAndCancelAbandonsIt) {
    const auto file = writeFile("other.836", noiseFile(9));
    makeEdits();
    const RadioImage edited = document.image();
    host.onSaveModified = [](CZavoDoc&) { return false; };
    EXPECT_EQ(document.openDocument(file).status, CommandStatus::Cancelled);
    EXPECT_EQ(host.saveModifiedCalls, 1);
    EXPECT_FALSE(host.skip);  // so the next New asks again
    EXPECT_EQ(document.image().bytes, edited.bytes);
    EXPECT_TRUE(document.IsModified());

    host.onSaveModified = [](CZavoDoc&) { return true; };
    EXPECT_TRUE(document.openDocument(file).done());
    EXPECT_EQ(host.saveModifiedCalls, 2);
    EXPECT_EQ(document.SerializeStore(), noiseFile(9));
}

TEST_F(DocumentTest, SaveConfirmsWithThePath) {
    EXPECT_EQ(document.save().status, CommandStatus::NeedsPath);  // no question without a path
    const auto file = folder / "saved.836";
    ASSERT_TRUE(document.saveAs(file).done());
    const std::string before = test::readFile(file);
    makeEdits();

    messages.expect(MessageResult::Cancel);
    EXPECT_EQ(document.save().status, CommandStatus::Cancelled);
    EXPECT_EQ(messages.asked().back().text, "[IDS_WARN_SAVE]" + file.string());
    EXPECT_EQ(messages.asked().back().caption, "[IDS_PROMPT]");
    EXPECT_EQ(test::readFile(file), before);
    EXPECT_TRUE(document.IsModified());

    messages.expect(MessageResult::Ok);
    EXPECT_TRUE(document.save().done());
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(test::readFile(file), bytesText(document.SerializeStore()));
}

TEST_F(DocumentTest, FailedSaveKeepsTheOldFileAndTheModifiedFlag) {
    const auto file = folder / "old.836";
    ASSERT_TRUE(document.saveAs(file).done());
    const std::string before = test::readFile(file);
    makeEdits();

    // The file-size limit makes the write itself fail, for any user, root included.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const CommandResult result = document.saveAs(file);
    ::setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_EQ(result.status, CommandStatus::FileError);
    EXPECT_EQ(result.errorText, "[IDS_FILE_CANNOT_SAVE " + file.string() + ": [IDS_ERRNO_EFBIG]]");
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(test::readFile(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
        << "temporary file left behind";

    if (::geteuid() != 0) {  // root may write any file
        std::filesystem::permissions(file, std::filesystem::perms::owner_read);
        EXPECT_EQ(document.saveAs(file).status, CommandStatus::FileError);
        EXPECT_EQ(test::readFile(file), before);
    }
    const auto nowhere = folder / "no-such-folder" / "x.836";
    EXPECT_EQ(document.saveAs(nowhere).status, CommandStatus::FileError);
    EXPECT_EQ(document.pathName(), file);
}

TEST_F(DocumentTest, BandChangeEmptiesTheImage) {
    ASSERT_TRUE(document.openDocument(writeFile("n.836", noiseFile(3))).done());
    view.updates = 0;
    document.changeBand(0);
    RadioImage expected;
    expected.erase();
    expected.setBandIndex(0);
    EXPECT_EQ(document.image().bytes, expected.bytes);
    EXPECT_EQ(document.bandLimits(), (BandLimits{24'500'000, 24'600'000}));
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(view.updates, 1);
}

TEST_F(DocumentTest, ReplacedImageRecomputesLimitsAndRefreshesViews) {
    document.image().bytes[image_offset::kBandCode] = 0xF6;
    document.onImageReplaced();
    EXPECT_EQ(document.checkFrequencyRange("512.00001"), 1);
    EXPECT_EQ(document.formatLimit(1), "512.00000");
    EXPECT_EQ(view.updates, 1);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.toneText(1, ChannelSide::Transmit), "[IDS_OFF]");
}

}  // namespace
}  // namespace qzm
