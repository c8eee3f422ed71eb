// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/qt/zavo_form.h"

#include <QFrame>

#include "editor/qt/dtmf_edit.h"
#include "editor/qt/floating_editors.h"
#include "editor/qt/settings_list.h"
#include "platform/command_ids.h"

namespace qzm {

const DialogTemplate& zavoFormTemplate() {
    using K = ControlKind;
    constexpr std::uint32_t kHidden = ControlStyle::HiddenAndDisabled;
    static const DialogTemplate form{
        IDD_ZAVO_FORM,
        "",
        {569, 366},
        {
            // Left: the band, VOX.
            {IDC_MODEL_GROUP, K::GroupBox, "机型信息", {9, 9, 179, 49}},
            {IDC_BAND_LABEL, K::Label, "频率范围", {19, 32, 52, 8}},
            {IDC_BAND_LIST, K::DropDownList, "", {74, 30, 106, 101}},
            {IDC_VOX, K::CheckBox, "声控功能", {71, 70, 63, 10}},
            {IDC_VOX_LEVEL_LABEL, K::Label, "声控电平", {16, 97, 52, 8}},
            {IDC_VOX_LEVEL, K::DropDownList, "", {71, 93, 106, 123}},
            // Middle: the lists.
            {IDC_SQUELCH_LABEL, K::Label, "静噪等级", {202, 14, 70, 8}},
            {IDC_SQUELCH, K::DropDownList, "", {278, 12, 84, 123}},
            {IDC_TX_TIME_LIMIT_LABEL, K::Label, "发射限时[秒]", {202, 34, 70, 8}},
            {IDC_TX_TIME_LIMIT, K::DropDownList, "", {278, 32, 84, 123}},
            {IDC_VOICE_PROMPT_LABEL, K::Label, "语音播报", {202, 55, 75, 8}},
            {IDC_VOICE_PROMPT, K::DropDownList, "", {278, 53, 84, 52}},
            {IDC_SIDE_KEY1_LABEL, K::Label, "侧键1", {202, 76, 70, 8}},
            {IDC_SIDE_KEY1, K::DropDownList, "", {278, 73, 84, 123}},
            {IDC_SCAN_MODE_LABEL, K::Label, "扫描模式", {202, 97, 70, 8}},
            {IDC_SCAN_MODE, K::DropDownList, "", {278, 94, 84, 90}},
            // Right: the switches.
            {IDC_BEEP, K::CheckBox, "哔音", {395, 16, 98, 10}},
            {IDC_SCAN, K::CheckBox, "扫描功能", {395, 34, 98, 10}},
            {IDC_BATTERY_SAVE, K::CheckBox, "电池省电", {395, 55, 98, 10}},
            {IDC_VOICE, K::CheckBox, "语音功能", {395, 75, 98, 10}},
            {IDC_FM_RADIO, K::CheckBox, "收音机功能", {395, 96, 98, 10}},
            // Settings the radio keeps but the user does not change here.
            {IDC_FM_FREQUENCY_LABEL, K::Label, "收音机频率", {541, 152, 19, 8}, kHidden},
            {IDC_FM_FREQUENCY, K::DropDownList, "", {478, 163, 89, 123}, kHidden},
            {IDC_DTMF_LABEL, K::Label, "DTMF编码", {544, 201, 23, 8}, kHidden},
            {IDC_DTMF, K::Edit, "", {478, 214, 89, 14}, kHidden},
            {IDC_SIDE_KEY2_LABEL, K::Label, "侧键2", {543, 241, 24, 8}, kHidden},
            {IDC_SIDE_KEY2, K::DropDownList, "", {483, 260, 84, 123}, kHidden},
            // The channel grid and its floating editors.
            {IDC_CHANNEL_GRID, K::Custom, "", {10, 117, 530, 246}},
            {IDC_FREQUENCY_EDIT, K::Edit, "", {28, 128, 34, 12}, kHidden},
            {IDC_LIST_PICKER, K::DropDownList, "", {110, 128, 30, 90}, kHidden},
            {IDC_TONE_PICKER,
             K::DropDownList,
             "",
             {69, 127, 34, 143},
             kHidden | ControlStyle::UpperCase},
        }};
    return form;
}

QWidget* makeZavoFormControl(const ControlTemplate& control, QWidget* parent) {
    switch (control.id) {
        case IDC_DTMF:
            return new DtmfEdit(parent);
        case IDC_CHANNEL_GRID: {
            // The view binds the grid control to this place.
            auto* frame = new QFrame(parent);
            frame->setFrameShape(QFrame::StyledPanel);
            frame->setFocusPolicy(Qt::StrongFocus);
            return frame;
        }
        case IDC_FREQUENCY_EDIT:
            return new FrequencyEdit(parent);
        case IDC_LIST_PICKER:
            return new ListPicker(parent);
        case IDC_TONE_PICKER: {
            auto* picker = new TonePicker(parent);
            picker->setUpperCase((control.style & ControlStyle::UpperCase) != 0);
            return picker;
        }
        default:
            return control.kind == ControlKind::DropDownList ? new SettingsList(parent) : nullptr;
    }
}

}  // namespace qzm
