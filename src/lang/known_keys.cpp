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
    // The built-in help window.
    "IDS_HELP_TITLE",
    "IDS_HELP_NOT_SHOWN",  // %1 is the help file's path
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
    "IDS_ASK_SAVE_CHANGES",   // save-changes question before New, Open and Exit; %1 is the name
    "IDS_WARN_LOAD_DAMAGED",  // a data file of ours, cut short
    "IDS_UNTITLED",           // the name of a document without a file
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
    // Compare (command line) and the connection doctor (command line, port dialog).
    "IDS_DIFF_CHANNEL",
    "IDS_DIFF_EMPTY",
    "IDS_DIFF_UNMAPPED",
    "IDS_DOCTOR_BUTTON",
    "IDS_DOCTOR_TITLE",
    "IDS_DOCTOR_GENERAL",
    "IDS_DOCTOR_NOTHING",
    "IDS_DOCTOR_NOPORTS",
    "IDS_DOCTOR_CHOSEN",
    "IDS_DOCTOR_CHOSEN_NONE",
    "IDS_DOCTOR_MISSING",
    "IDS_DOCTOR_MISSING_SET",
    "IDS_DOCTOR_OWNER",
    "IDS_DOCTOR_ACCESS",
    "IDS_DOCTOR_RELOGIN",
    "IDS_DOCTOR_NOTINGROUP",
    "IDS_DOCTOR_DENIED",
    "IDS_DOCTOR_FREE",
    "IDS_DOCTOR_PTY",
    "IDS_DOCTOR_UNKNOWN_ADAPTER",
    "IDS_DOCTOR_FREE_OWN",
    "IDS_DOCTOR_INUSE",
    "IDS_DOCTOR_STABLE",
    "IDS_DOCTOR_BYID",
    "IDS_DOCTOR_BRLTTY",
    "IDS_DOCTOR_MODEMMANAGER",
    "IDS_DOCTOR_MM_RULE",
    // Import and export of channel lists (File menu), the import preview and
    // the CHIRP rows' remarks.
    "Menu_File_Import_Channels",
    "Menu_File_Export_Channels",
    "IDS_FILETYPE_CHANNELS",
    "IDS_FILETYPE_CHIRP",
    "IDS_IMPORT_TITLE",
    "IDS_IMPORT_SUMMARY",
    "IDS_IMPORT_COL_LINE",
    "IDS_IMPORT_COL_LOCATION",
    "IDS_IMPORT_COL_CHANNEL",
    "IDS_IMPORT_COL_OUTCOME",
    "IDS_IMPORT_COL_RX",
    "IDS_IMPORT_COL_RXTONE",
    "IDS_IMPORT_COL_TX",
    "IDS_IMPORT_COL_TXTONE",
    "IDS_IMPORT_COL_REMARKS",
    "IDS_IMPORT_TAKEN",
    "IDS_IMPORT_REPAIRED",
    "IDS_IMPORT_SKIPPED",
    "IDS_IMPORT_NAMES_DROPPED",
    "IDS_IMPORT_REFUSED",
    "IDS_EXPORT_FAILED",
    "IDS_EXPORT_LEFT_OUT",
    "IDS_CHIRP_FREQ_SNAPPED",
    "IDS_CHIRP_TONE_SNAPPED",
    "IDS_CHIRP_OUT_OF_BAND",
    "IDS_CHIRP_TX_OUT_OF_BAND",
    "IDS_CHIRP_TONE_MODE",
    "IDS_CHIRP_TONE",
    "IDS_CHIRP_MODE",
    "IDS_CHIRP_LOCATION",
    "IDS_CHIRP_TAKEN",
    "IDS_CHIRP_FULL",
    "IDS_CHIRP_MALFORMED",
    "IDS_CHIRP_FIELDS",
    "IDS_CHIRP_TONE_LEFT_OUT",
    "IDS_CHIRP_CHANNEL_LEFT_OUT",
    // Backups and the check after a write.
    "Menu_File_Open_Backup",
    "IDS_OPEN_BACKUP",
    "IDS_NO_BACKUPS",
    "IDS_BACKUP_NO_FOLDER",
    "IDS_BACKUP_NOT_STORED",
    "IDS_BACKUP_READ_NOT_STORED",
    "IDS_PROMPT_BACKUP",
    "IDS_BACKUP_READFAIL",
    "IDS_VERIFY_AFTER_WRITE",
    "IDS_PROMPT_VERIFY",
    "IDS_VERIFY_OK",
    "IDS_VERIFY_MISMATCH",  // %1 is the list of blocks that differ
    "IDS_VERIFY_READFAIL",
    "IDS_CLOSE",
};

constexpr int kResourceIds[] = {
    // Push buttons shared by every dialog.
    1,
    2,
    // About box: title, the line under the version and the licence line.
    100,
    1052,
    1053,
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
