#include "lang/known_keys.h"

namespace qzm {

namespace {

constexpr std::string_view kStringKeys[] = {
    // Main window title and toolbar tooltips ("IDS_TIP_" + command id).
    "IDS_WINDOWNAME",
    "IDS_TIP_57600",
    "IDS_TIP_57601",
    "IDS_TIP_57603",
    "IDS_TIP_32771",
    "IDS_TIP_32772",
    "IDS_TIP_57607",
    "IDS_TIP_32775",
    // Menu titles and items.
    "Menu_File",
    "Menu_Program",
    "Menu_Setting",
    "Menu_Help",
    "Menu_File_New",
    "Menu_File_Open",
    "Menu_File_Save",
    "Menu_File_Save_As",
    "Menu_File_Print",
    "Menu_File_Print_Preview",
    "Menu_File_Print_Setup",
    "Menu_App_Exit",
    "Menu_Program_ReadData",
    "Menu_Program_WriteData",
    "Menu_Setting_Port",
    "Menu_Setting_Language",
    "Menu_Help_Help",
    "Menu_App_About",
    // Transfer dialog.
    "IDS_READDATA",
    "IDS_WRITEDATA",
    "IDS_PROMPT_READ",
    "IDS_PROMPT_WRITE",
    "IDS_PROMPT_READFAIL",
    "IDS_PROMPT_WRITEFAIL",
    "IDS_SEARCHCOMPORT",
    "IDS_ERROR",
    "IDS_ERROR_PORTCONN",
    "IDS_ERROR_TYPE",
    "IDS_CONFIRM",
    "IDS_CONFIRM_TYPE",
    // Document commands.
    "IDS_PROMPT",
    "IDS_WARN_CLEAR",
    "IDS_WARN_LOAD",
    "IDS_WARN_SAVE",
    "IDS_ASK_SAVE_CHANGES",  // save-changes question before New, Open and Exit; %1 is the name
    // Channel editor and printout.
    "IDS_CONFIRM_FREQ",
    "IDS_OFF",
    "IDS_YES",
    "IDS_NO",
    "IDS_HIGH",
    "IDS_LOW",
    "IDS_WIDE",
    "IDS_NARROW",
    // The settings file could not be written (language switch, port choice).
    "IDS_ERROR_SETTINGS",
    // Why a serial port would not open (transfer errors, port tooltips).
    "IDS_PORT_NOTFOUND",
    "IDS_PORT_DENIED",
    "IDS_PORT_INUSE",
    "IDS_PORT_NOHARDWARE",
    "IDS_PORT_NOTSERIAL",
    "IDS_PORT_OTHER",
    "IDS_PORT_NODEVICE",
    // What went wrong in a transfer (window text line, error messages, command line);
    // the command-line tool's own sentences for a failed read or write.
    "IDS_FAIL_DETAIL",
    "IDS_FAIL_HANDSHAKE",
    "IDS_FAIL_IDENT",
    "IDS_FAIL_BLOCK",
    "IDS_FAIL_NOANSWER",
    "IDS_FAIL_SHORT",
    "IDS_FAIL_ADDRESS",
    "IDS_FAIL_NAK",
    "IDS_FAIL_GARBLED",
    "IDS_CLI_READFAIL",
    "IDS_CLI_WRITEFAIL",
    // Printing: the printer or the output file could not be opened.
    "IDS_ERROR_PRINT",
};

constexpr int kResourceIds[] = {
    // Push buttons shared by every dialog.
    1,
    2,
    // About box: title and the line under the version.
    100,
    1052,
    // Editor form: the group box, labels and check boxes.
    101,
    1020,
    1021,
    1023,
    1024,
    1025,
    1027,
    1028,
    1029,
    1030,
    1031,
    1033,
    1035,
    1039,
    1041,
    1043,
    1045,
    1047,
    // Port dialog.
    130,
    1001,
    1002,
    1003,
    1004,
    1005,
    1006,
    1007,
    1008,
    1011,
    1012,
    // Language dialog.
    131,
    1013,
    // Transfer dialog: the title is set from String, the text line starts from here.
    132,
    1010,
};

constexpr LanguageEntry kOtherEntries[] = {
    {"Face", "disp"},
    {"Face", "locale"},
    {"ChText", "IDS_ChText0"},
    {"ChText", "IDS_ChText1"},
    {"ChText", "IDS_ChText2"},
    {"ChText", "IDS_ChText3"},
    {"ChText", "IDS_ChText4"},
    {"ChText", "IDS_ChText5"},
    {"ChText", "IDS_ChText6"},
    {"ChText", "IDS_ChText7"},
    {"ChText", "IDS_ChText8"},
    {"ChText", "IDS_ChText9"},
    // voicePrompt 0..1, sideKey 0..3, scanMode 0..1.
    {"VoiceAnnunciation", "0"},
    {"VoiceAnnunciation", "1"},
    {"MonitorKey", "0"},
    {"MonitorKey", "1"},
    {"MonitorKey", "2"},
    {"MonitorKey", "3"},
    {"ScanMode", "0"},
    {"ScanMode", "1"},
};

}  // namespace

std::span<const std::string_view> knownStringKeys() {
    return kStringKeys;
}

std::span<const int> knownResourceIds() {
    return kResourceIds;
}

std::span<const LanguageEntry> knownOtherEntries() {
    return kOtherEntries;
}

}  // namespace qzm
