// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Control ids of the editor form.  They are the keys of the form's captions in
// section Resource of the language files, so they keep their classic values.

namespace qzm {

inline constexpr int IDC_CHANNEL_GRID = 1016;
inline constexpr int IDC_FREQUENCY_EDIT = 1017;  // floating editors over grid cells
inline constexpr int IDC_LIST_PICKER = 1018;
inline constexpr int IDC_TONE_PICKER = 1019;

inline constexpr int IDC_MODEL_GROUP = 1020;
inline constexpr int IDC_BAND_LABEL = 1021;
inline constexpr int IDC_BAND_LIST = 1022;
inline constexpr int IDC_BEEP = 1023;
inline constexpr int IDC_BATTERY_SAVE = 1024;
inline constexpr int IDC_VOICE_PROMPT_LABEL = 1025;
inline constexpr int IDC_VOICE_PROMPT = 1026;
inline constexpr int IDC_VOX = 1027;
inline constexpr int IDC_VOICE = 1028;
inline constexpr int IDC_SCAN = 1029;
inline constexpr int IDC_FM_RADIO = 1030;
inline constexpr int IDC_SQUELCH_LABEL = 1031;
inline constexpr int IDC_SQUELCH = 1032;
inline constexpr int IDC_SIDE_KEY1_LABEL = 1033;
inline constexpr int IDC_SIDE_KEY1 = 1034;
inline constexpr int IDC_TX_TIME_LIMIT_LABEL = 1035;
inline constexpr int IDC_TX_TIME_LIMIT = 1036;
inline constexpr int IDC_DTMF_LABEL = 1039;
inline constexpr int IDC_DTMF = 1040;
inline constexpr int IDC_VOX_LEVEL_LABEL = 1041;
inline constexpr int IDC_VOX_LEVEL = 1042;
inline constexpr int IDC_SIDE_KEY2_LABEL = 1043;
inline constexpr int IDC_SIDE_KEY2 = 1044;
inline constexpr int IDC_FM_FREQUENCY_LABEL = 1045;
inline constexpr int IDC_FM_FREQUENCY = 1046;
inline constexpr int IDC_SCAN_MODE_LABEL = 1047;
inline constexpr int IDC_SCAN_MODE = 1048;

}  // namespace qzm
