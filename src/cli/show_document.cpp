#include "cli/show_document.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/settings.h"
#include "platform/utf8_text.h"
#include "radio/value_codecs.h"

namespace qzm::cli {
namespace {

// Captions of the settings panel: control id and the caption of the form
// template, which stays where the language file has none.
struct Caption {
    int id;
    std::string_view templateCaption;
};

constexpr Caption kBandLabel{1021, "频率范围"};
constexpr Caption kSquelchLabel{1031, "静噪等级"};
constexpr Caption kTxTimeLabel{1035, "发射限时[秒]"};
constexpr Caption kVoicePromptLabel{1025, "语音播报"};
constexpr Caption kSideKey1Label{1033, "侧键1"};
constexpr Caption kScanModeLabel{1047, "扫描模式"};
constexpr Caption kVoxLevelLabel{1041, "声控电平"};
constexpr Caption kVoxBox{1027, "声控功能"};
constexpr Caption kBeepBox{1023, "哔音"};
constexpr Caption kScanBox{1029, "扫描功能"};
constexpr Caption kBatteryBox{1024, "电池省电"};
constexpr Caption kVoiceBox{1028, "语音功能"};
constexpr Caption kFmRadioBox{1030, "收音机功能"};
// Settings the editor keeps out of reach; shown so nothing in the image is hidden.
constexpr Caption kFmFrequencyLabel{1045, "收音机频率"};
constexpr Caption kDtmfLabel{1039, "DTMF编码"};
constexpr Caption kSideKey2Label{1043, "侧键2"};

std::string entryAt(const std::vector<std::string>& entries, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= entries.size()) {
        return {};  // a list without that entry shows none
    }
    return entries[static_cast<std::size_t>(position)];
}

std::string fmFrequencyText(int step) {
    if (step >= 210) {
        return "108M0";
    }
    return std::to_string(87 + step / 10) + "M" + std::to_string(step % 10);
}

std::string padded(const std::string& text, std::size_t width) {
    std::size_t length = countCharacters(text);
    return length >= width ? text : text + std::string(width - length, ' ');
}

std::string rightTrimmed(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string table(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], countCharacters(row[c]));
        }
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += padded(row[c], widths[c]);
            line += "  ";
        }
        out += rightTrimmed(line) + "\n";
    }
    return out;
}

std::string flagText(const LanguageTexts& texts, int value, std::string_view zeroKey,
                     std::string_view oneKey) {
    return texts.text(value != 0 ? oneKey : zeroKey);
}

}  // namespace

std::string showDocument(const RadioImage& image, const LanguageTexts& texts,
                         const std::filesystem::path& settingsPath) {
    auto caption = [&](const Caption& c) { return texts.resource(c.id, c.templateCaption); };
    auto box = [](bool ticked) { return std::string(ticked ? "[x]" : "[ ]"); };

    const std::string offText = texts.text("IDS_OFF");
    const int txTime = image.txTimeLimit();
    const std::vector<std::string> monitorKeys = texts.list("MonitorKey");

    std::vector<std::vector<std::string>> settings{
        {caption(kBandLabel), entryAt(readBandNames(settingsPath), image.bandIndex())},
        {caption(kSquelchLabel), std::to_string(image.squelchLevel())},
        {caption(kTxTimeLabel), txTime == 0 ? offText : std::to_string(30 * txTime)},
        {caption(kVoicePromptLabel), entryAt(texts.list("VoiceAnnunciation"), image.voicePrompt())},
        {caption(kSideKey1Label), entryAt(monitorKeys, image.sideKey1())},
        {caption(kScanModeLabel), entryAt(texts.list("ScanMode"), image.scanMode())},
        {caption(kVoxLevelLabel), std::to_string(image.voxLevel() + 1)},
        {caption(kVoxBox), box(image.voxEnabled())},
        {caption(kBeepBox), box(image.beepEnabled())},
        {caption(kScanBox), box(image.scanEnabled())},
        {caption(kBatteryBox), box(image.batterySave())},
        {caption(kVoiceBox), box(image.voiceEnabled())},
        {caption(kFmRadioBox), box(image.fmRadioEnabled())},
        {caption(kSideKey2Label), entryAt(monitorKeys, image.sideKey2())},
        {caption(kFmFrequencyLabel), fmFrequencyText(image.fmFrequency())},
        {caption(kDtmfLabel), formatDtmf(image.dtmfCode())},
    };
    for (auto& row : settings) {
        row[0] += ":";
    }

    std::vector<std::vector<std::string>> channels{texts.columnTitles()};
    for (int n = 1; n <= kChannelCount; ++n) {
        std::vector<std::string> row(10);
        row[0] = std::to_string(n);
        if (!image.isRxEmpty(n)) {
            row[1] = image.frequencyText(n, ChannelSide::Receive);
            row[2] = image.toneText(n, ChannelSide::Receive, offText);
            row[3] = image.frequencyText(n, ChannelSide::Transmit);
            if (!image.isAnyFrequencyEmpty(n)) {
                row[4] = image.toneText(n, ChannelSide::Transmit, offText);
            }
            row[5] = flagText(texts, image.col5No(n), "IDS_YES", "IDS_NO");
            row[6] = flagText(texts, image.narrow(n), "IDS_WIDE", "IDS_NARROW");
            row[7] = flagText(texts, image.highPower(n), "IDS_LOW", "IDS_HIGH");
            row[8] = flagText(texts, image.col8No(n), "IDS_YES", "IDS_NO");
            row[9] = flagText(texts, image.col9No(n), "IDS_YES", "IDS_NO");
        }
        channels.push_back(std::move(row));
    }
    return table(settings) + "\n" + table(channels);
}

}  // namespace qzm::cli
