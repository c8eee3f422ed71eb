// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "editor/form_ids.h"

namespace qzm {

// The settings block of the printed channel list: five lines of three cells,
// each a control of the form.  Hidden controls are printed like the others.
struct PrintedSetting {
    enum class Kind { Empty, CheckBox, Pair };
    Kind kind = Kind::Empty;
    int caption = 0;  // the check box, or the label of a pair
    int value = 0;    // the list or edit field of a pair
};

inline constexpr PrintedSetting printedCheckBox(int id) {
    return {PrintedSetting::Kind::CheckBox, id, 0};
}
inline constexpr PrintedSetting printedPair(int label, int value) {
    return {PrintedSetting::Kind::Pair, label, value};
}

using PrintedSettingsLine = std::array<PrintedSetting, 3>;

inline constexpr std::array<PrintedSettingsLine, 5> kPrintedSettings = {{
    {printedCheckBox(IDC_BEEP), printedPair(IDC_DTMF_LABEL, IDC_DTMF),
     printedPair(IDC_SQUELCH_LABEL, IDC_SQUELCH)},
    {printedPair(IDC_SIDE_KEY1_LABEL, IDC_SIDE_KEY1),
     printedPair(IDC_SIDE_KEY2_LABEL, IDC_SIDE_KEY2), printedCheckBox(IDC_SCAN)},
    {printedPair(IDC_VOICE_PROMPT_LABEL, IDC_VOICE_PROMPT),
     printedPair(IDC_TX_TIME_LIMIT_LABEL, IDC_TX_TIME_LIMIT), printedCheckBox(IDC_BATTERY_SAVE)},
    {printedPair(IDC_FM_FREQUENCY_LABEL, IDC_FM_FREQUENCY),
     printedPair(IDC_VOX_LEVEL_LABEL, IDC_VOX_LEVEL), printedCheckBox(IDC_FM_RADIO)},
    {printedCheckBox(IDC_VOICE), PrintedSetting{}, printedCheckBox(IDC_VOX)},
}};

}  // namespace qzm
