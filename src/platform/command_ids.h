// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Command identifiers of the menu, the toolbar and the accelerator table, and
// the ids of the shared resources.  They keep their classic values so that the
// language file's keys ("IDS_TIP_57600") and the tables of the program agree.

namespace qzm {

inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;  // the recent files are 57616 to 57619
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
inline constexpr int ID_EDIT_CLEAR = 57632;
inline constexpr int ID_EDIT_SELECT_ALL = 57642;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;

inline constexpr int ID_PROGRAM_READ = 32771;
inline constexpr int ID_PROGRAM_WRITE = 32772;
inline constexpr int ID_SETTING_PORT = 32773;
inline constexpr int ID_SETTING_LANGUAGE = 32774;
inline constexpr int ID_HELP_HELP = 32775;
inline constexpr int ID_NEXT_LANGUAGE = 32776;
// Channel lists to and from other programs (our own CSV table, CHIRP's CSV).
inline constexpr int ID_FILE_IMPORT_CHANNELS = 32800;
inline constexpr int ID_FILE_EXPORT_CHANNELS = 32801;
inline constexpr int ID_FILE_OPEN_BACKUP = 32777;
// Whole-channel operations of the Edit menu.
inline constexpr int ID_EDIT_INSERT_CHANNEL = 32810;
inline constexpr int ID_EDIT_DELETE_CHANNEL = 32811;
inline constexpr int ID_EDIT_MOVE_UP = 32812;
inline constexpr int ID_EDIT_MOVE_DOWN = 32813;

inline constexpr int kRecentFileCount = 4;

// Resource ids.
inline constexpr int IDR_MAINFRAME = 128;      // menu, toolbar, accelerators, icon, document
inline constexpr int ID_INDICATOR_PORT = 129;  // status bar pane of the port
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_ZAVO_FORM = 101;
inline constexpr int IDD_PORT = 130;
inline constexpr int IDD_LANGUAGE = 131;
inline constexpr int IDD_TRANSFER = 132;

// Control ids every dialog shares.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_STATIC = -1;

}  // namespace qzm
