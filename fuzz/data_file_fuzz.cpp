// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes opened as a data file through the document.  A refused file
// must leave the document exactly as it was; an accepted one must store back
// byte for byte, and every field of its image must read without harm.

#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "radio/data_file.h"
#include "radio/zavo_doc.h"

namespace {

using qzm::ChannelSide;

class AnswerOk final : public qzm::MessageBoxSeam {
  public:
    int shown = 0;
    qzm::MessageResult show(const std::string&, const std::string&, qzm::MessageStyle) override {
        ++shown;
        return qzm::MessageResult::Ok;
    }
};

class QuietHost final : public qzm::DocumentHost {
  public:
    bool skip = false;
    bool skipClearPrompt() const override { return skip; }
    void setSkipClearPrompt(bool value) override { skip = value; }
    bool saveModified(qzm::CZavoDoc&) override { return true; }
    std::string applicationName() const override { return "qzm836"; }
};

// Short texts, so an off tone reads as "off".
std::string keyText(std::string_view) {
    return "off";
}

// Every field the editor shows, through the same accessors it uses.
void readEveryField(const qzm::CZavoDoc& doc) {
    for (int n = 0; n <= qzm::kChannelCount + 1; ++n) {
        for (const ChannelSide side : {ChannelSide::Receive, ChannelSide::Transmit}) {
            const std::string frequency = doc.frequencyText(n, side);
            QZM_FUZZ_CHECK(frequency.size() <= 9, frequency);
            QZM_FUZZ_CHECK(doc.isRxEmpty(n) || side != ChannelSide::Receive || !frequency.empty(),
                           frequency);
            const std::string tone = doc.toneText(n, side);
            QZM_FUZZ_CHECK(!tone.empty() && tone.size() <= 6, tone);
            [[maybe_unused]] const int range = doc.checkFrequencyRange(frequency);
        }
        const int flags[] = {doc.col8No(n), doc.col9No(n), doc.narrow(n), doc.highPower(n),
                             doc.col5No(n)};
        for (const int flag : flags) {
            QZM_FUZZ_CHECK(flag == 0 || flag == 1, std::to_string(flag));
        }
        [[maybe_unused]] const bool same =
            doc.isTxSameAsRx(n) && doc.isToneSame(n) && doc.isAnyFrequencyEmpty(n);
    }
    const int clamped[][2] = {
        {doc.voicePrompt(), qzm::kMaxVoicePrompt},   {doc.voxLevel(), qzm::kMaxVoxLevel},
        {doc.squelchLevel(), qzm::kMaxSquelchLevel}, {doc.sideKey1(), qzm::kMaxSideKey},
        {doc.sideKey2(), qzm::kMaxSideKey},          {doc.txTimeLimit(), qzm::kMaxTxTimeLimit},
        {doc.fmFrequency(), qzm::kMaxFmFrequency},   {doc.scanMode(), 1}};
    for (const auto& [value, largest] : clamped) {
        QZM_FUZZ_CHECK(value >= 0 && value <= largest, std::to_string(value));
    }
    QZM_FUZZ_CHECK(doc.bandIndex() >= 0 && doc.bandIndex() < int{qzm::kBandTable.size()},
                   std::to_string(doc.bandIndex()));
    QZM_FUZZ_CHECK(doc.bandLimits() == doc.image().bandLimits(), "band limits not recomputed");
    QZM_FUZZ_CHECK(doc.formatLimit(0).size() == 9 && doc.formatLimit(1).size() == 9,
                   doc.formatLimit(0) + " " + doc.formatLimit(1));
    [[maybe_unused]] const auto dtmf = qzm::formatDtmf(doc.dtmfCode());
    [[maybe_unused]] const auto ident = doc.image().identText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const auto folder = qzm::fuzz::scratchFolder();
    const auto file = folder / "input.836";
    qzm::fuzz::writeScratchFile(file, input);

    AnswerOk messages;
    QuietHost host;
    qzm::CZavoDoc doc(messages, keyText, host);
    // As after an edit: a refused open must keep all of it, a good one clear the flag.
    doc.setSquelchLevel(3);
    doc.SetModifiedFlag(true);
    const auto imageBefore = doc.image().bytes;
    const auto headerBefore = doc.header();
    const qzm::CommandResult result = doc.openDocument(file);

    const bool ours = size >= qzm::kDataFileSize &&
                      std::memcmp(data, qzm::kFileMagic.data(), qzm::kCheckedMagicLength) == 0;
    if (!ours) {
        QZM_FUZZ_CHECK(result.status == qzm::CommandStatus::Refused, result.errorText);
        QZM_FUZZ_CHECK(messages.shown == 1, "the refusal is shown once");
        QZM_FUZZ_CHECK(doc.image().bytes == imageBefore, "refused file changed the image");
        QZM_FUZZ_CHECK(doc.header() == headerBefore, "refused file changed the header");
        QZM_FUZZ_CHECK(doc.bandLimits() == doc.image().bandLimits(), "band limits changed");
        QZM_FUZZ_CHECK(doc.pathName().empty(), doc.pathName().string());
        QZM_FUZZ_CHECK(doc.IsModified(), "refused file cleared the modified flag");
        QZM_FUZZ_CHECK(!host.skip, "quiet-New flag left set");
        return 0;
    }

    QZM_FUZZ_CHECK(result.done(), result.errorText);
    QZM_FUZZ_CHECK(messages.shown == 0, "a good file asked something");
    QZM_FUZZ_CHECK(!doc.IsModified(), "opened document modified");
    QZM_FUZZ_CHECK(doc.pathName() == file, doc.pathName().string());
    const auto stored = doc.SerializeStore();
    QZM_FUZZ_CHECK(stored.size() == qzm::kDataFileSize, std::to_string(stored.size()));
    QZM_FUZZ_CHECK(std::equal(stored.begin(), stored.end(), data), "store differs from the file");
    readEveryField(doc);

    // Save As writes exactly those bytes, and they open again unchanged.
    const auto copy = folder / "copy.836";
    QZM_FUZZ_CHECK(doc.saveAs(copy).done(), "save as failed");
    const std::string written = qzm::fuzz::readWholeFile(copy);
    QZM_FUZZ_CHECK(written.size() == qzm::kDataFileSize &&
                       std::memcmp(written.data(), data, written.size()) == 0,
                   "saved file differs");
    const qzm::LoadedDataFile again = qzm::loadDataFile(copy);
    QZM_FUZZ_CHECK(again.status == qzm::LoadStatus::Loaded, again.errorText);
    QZM_FUZZ_CHECK(qzm::encodeDataFile(again.contents.header, again.contents.image) == stored,
                   "reload differs");
    return 0;
}

namespace qzm::fuzz {

std::vector<Bytes> edgeCases() {
    Bytes good(kDataFileSize, 0xFF);
    std::copy(kFileMagic.begin(), kFileMagic.end(), good.begin());
    std::vector<Bytes> cases{{}, good};
    for (const std::size_t length : {kCheckedMagicLength, kFileHeaderSize, kDataFileSize - 1,
                                     kDataFileSize + 1, kDataFileSize + 4096}) {
        Bytes file = good;
        file.resize(length, 0x00);
        cases.push_back(file);
    }
    // Only the first 26 header bytes count.
    for (const std::size_t at : {std::size_t{0}, kCheckedMagicLength - 1, kCheckedMagicLength,
                                 kFileMagic.size(), kFileHeaderSize - 1}) {
        Bytes file = good;
        file[at] ^= 0x20;
        cases.push_back(file);
    }
    // Every value in the band byte and in the settings, zero and erased images.
    for (int value = 0; value < 256; value += 5) {
        Bytes file(good.begin(), good.begin() + kFileHeaderSize);
        file.resize(kDataFileSize, static_cast<std::uint8_t>(value));
        file[kFileHeaderSize + image_offset::kBandCode] = static_cast<std::uint8_t>(255 - value);
        cases.push_back(file);
    }
    return cases;
}

}  // namespace qzm::fuzz
