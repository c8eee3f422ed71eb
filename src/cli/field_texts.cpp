// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/field_texts.h"

#include <string_view>
#include <vector>

#include "platform/settings.h"
#include "radio/value_codecs.h"

namespace qzm::cli {
namespace {

// Control id of a setting's caption and the form template's caption, which stays
// where the language file has none.
struct Caption {
    int id;
    std::string_view templateCaption;
};

Caption captionOf(ImageField field) {
    switch (field) {
        case ImageField::Band:
            return {1021, "频率范围"};
        case ImageField::SquelchLevel:
            return {1031, "静噪等级"};
        case ImageField::TxTimeLimit:
            return {1035, "发射限时[秒]"};
        case ImageField::VoicePrompt:
            return {1025, "语音播报"};
        case ImageField::SideKey1:
            return {1033, "侧键1"};
        case ImageField::ScanMode:
            return {1047, "扫描模式"};
        case ImageField::VoxLevel:
            return {1041, "声控电平"};
        case ImageField::VoxEnabled:
            return {1027, "声控功能"};
        case ImageField::BeepEnabled:
            return {1023, "哔音"};
        case ImageField::ScanEnabled:
            return {1029, "扫描功能"};
        case ImageField::BatterySave:
            return {1024, "电池省电"};
        case ImageField::VoiceEnabled:
            return {1028, "语音功能"};
        case ImageField::FmRadioEnabled:
            return {1030, "收音机功能"};
        // Settings the editor keeps out of reach; shown so nothing in the image is hidden.
        case ImageField::FmFrequency:
            return {1045, "收音机频率"};
        case ImageField::DtmfCode:
            return {1039, "DTMF编码"};
        case ImageField::SideKey2:
            return {1043, "侧键2"};
        // The model group box holds the identification the radio reports.
        case ImageField::IdentText:
            return {1020, "机型信息"};
        default:
            return {0, ""};
    }
}

std::string entryAt(const std::vector<std::string>& entries, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= entries.size()) {
        return {};  // a list without that entry shows none
    }
    return entries[static_cast<std::size_t>(position)];
}

std::string fmFrequencyText(int step) {
    if (step >= kMaxFmFrequency) {
        return "108M0";
    }
    return std::to_string(87 + step / 10) + "M" + std::to_string(step % 10);
}

std::string flagText(const LanguageTexts& texts, int value, std::string_view zeroKey,
                     std::string_view oneKey) {
    return texts.text(value != 0 ? oneKey : zeroKey);
}

std::string box(bool ticked) {
    return ticked ? "[x]" : "[ ]";
}

std::string channelValueText(const RadioImage& image, ImageField field, int n,
                             const LanguageTexts& texts) {
    switch (field) {
        case ImageField::RxFrequency:
            return image.frequencyText(n, ChannelSide::Receive);
        case ImageField::TxFrequency:
            return image.frequencyText(n, ChannelSide::Transmit);
        case ImageField::RxTone:
            return image.toneText(n, ChannelSide::Receive, texts.text("IDS_OFF"));
        case ImageField::TxTone:
            return image.toneText(n, ChannelSide::Transmit, texts.text("IDS_OFF"));
        case ImageField::Col5No:
            return flagText(texts, image.col5No(n), "IDS_YES", "IDS_NO");
        case ImageField::Narrow:
            return flagText(texts, image.narrow(n), "IDS_WIDE", "IDS_NARROW");
        case ImageField::HighPower:
            return flagText(texts, image.highPower(n), "IDS_LOW", "IDS_HIGH");
        case ImageField::Col8No:
            return flagText(texts, image.col8No(n), "IDS_YES", "IDS_NO");
        case ImageField::Col9No:
            return flagText(texts, image.col9No(n), "IDS_YES", "IDS_NO");
        default:
            return {};
    }
}

}  // namespace

std::string fieldLabel(ImageField field, const LanguageTexts& texts) {
    if (isChannelField(field)) {
        // Column 0 is the channel number; the fields follow in column order.
        const auto column = static_cast<std::size_t>(field) + 1;
        const std::vector<std::string> titles = texts.columnTitles();
        return column < titles.size() ? titles[column] : std::string();
    }
    const Caption caption = captionOf(field);
    return texts.resource(caption.id, caption.templateCaption);
}

std::string fieldValueText(const RadioImage& image, ImageField field, int channel,
                           const LanguageTexts& texts, const std::filesystem::path& settingsPath) {
    if (isChannelField(field)) {
        return channelValueText(image, field, channel, texts);
    }
    switch (field) {
        case ImageField::Band:
            return entryAt(readBandNames(settingsPath), image.bandIndex());
        case ImageField::SquelchLevel:
            return std::to_string(image.squelchLevel());
        case ImageField::TxTimeLimit:
            return image.txTimeLimit() == 0 ? texts.text("IDS_OFF")
                                            : std::to_string(30 * image.txTimeLimit());
        case ImageField::VoicePrompt:
            return entryAt(texts.list("VoiceAnnunciation"), image.voicePrompt());
        case ImageField::SideKey1:
            return entryAt(texts.list("MonitorKey"), image.sideKey1());
        case ImageField::SideKey2:
            return entryAt(texts.list("MonitorKey"), image.sideKey2());
        case ImageField::ScanMode:
            return entryAt(texts.list("ScanMode"), image.scanMode());
        case ImageField::VoxLevel:
            return std::to_string(image.voxLevel() + 1);
        case ImageField::VoxEnabled:
            return box(image.voxEnabled());
        case ImageField::BeepEnabled:
            return box(image.beepEnabled());
        case ImageField::ScanEnabled:
            return box(image.scanEnabled());
        case ImageField::BatterySave:
            return box(image.batterySave());
        case ImageField::VoiceEnabled:
            return box(image.voiceEnabled());
        case ImageField::FmRadioEnabled:
            return box(image.fmRadioEnabled());
        case ImageField::FmFrequency:
            return fmFrequencyText(image.fmFrequency());
        case ImageField::DtmfCode:
            return formatDtmf(image.dtmfCode());
        case ImageField::IdentText: {
            // Five bytes the tool never sets but keeps: they may hold anything.
            std::string text = image.identText();
            for (char& c : text) {
                if (c < 0x20 || c > 0x7E) {
                    c = '.';
                }
            }
            return text;
        }
        default:
            return {};
    }
}

}  // namespace qzm::cli
