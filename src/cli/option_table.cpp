// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/option_table.h"

#include <array>
#include <charconv>
#include <optional>

namespace qzm::cli {
namespace {

std::optional<int> parseNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> portNumber(const std::string& value, std::string& error) {
    auto number = parseNumber(value);
    if (!number || *number < 1 || *number > 255) {
        error = "port must be 1 to 255, not '" + value + "'";
        return std::nullopt;
    }
    return number;
}

// ---- Options every command takes -------------------------------------------------

constexpr OptionRule kHelp = flagRule("--help", &CliOptions::help, "-h");
constexpr OptionRule kVersion = flagRule("--version", &CliOptions::version);
constexpr OptionRule kSettings{"--settings",
                               {},
                               true,
                               "option '--settings' needs a file name",
                               [](CliOptions& o, const std::string& value) {
                                   o.settingsFile = value;
                                   return std::string();
                               }};
constexpr OptionRule kLang{"--lang",
                           {},
                           true,
                           "option '--lang' needs a language name",
                           [](CliOptions& o, const std::string& value) {
                               o.languageName = value;
                               return std::string();
                           }};

constexpr std::array<const OptionRule*, 4> kGlobalOptions{&kSettings, &kLang, &kHelp, &kVersion};
constexpr std::array kGlobalHelpLines{
    OptionHelp{&kSettings, "FILE", "the settings file (default: setting.ini beside the program)"},
    OptionHelp{&kLang, "NAME",
               "the language file NAME.lang (default: the one the settings choose)"},
    OptionHelp{&kHelp, {}, "this text; COMMAND --help describes one command"},
    OptionHelp{&kVersion, {}, "the program's version"},
};
constexpr HelpSection kGlobalHelp{false, 17, kGlobalHelpLines, {}};

// ---- new ---------------------------------------------------------------------------

constexpr OptionRule kBand{"--band", {}, true, {}, [](CliOptions& o, const std::string& value) {
                               auto number = parseNumber(value);
                               if (!number || *number < 0 || *number > 6) {
                                   return "band index must be 0 to 6, not '" + value + "'";
                               }
                               o.bandIndex = *number;
                               return std::string();
                           }};
constexpr std::array<const OptionRule*, 1> kNewOptions{&kBand};

// ---- The radio's port: read, write, restore, diff ------------------------------------

constexpr OptionRule kPort{"--port", {}, true, {}, [](CliOptions& o, const std::string& value) {
                               std::string error;
                               if (auto number = portNumber(value, error)) {
                                   o.port = *number;
                               }
                               return error;
                           }};
constexpr OptionRule kDevice{"--device",
                             {},
                             true,
                             "option '--device' needs a device path",
                             [](CliOptions& o, const std::string& value) {
                                 o.device = value;
                                 return std::string();
                             }};
constexpr OptionRule kNoSearch = flagRule("--no-search", &CliOptions::noSearch);
constexpr OptionRule kNoBackup = flagRule("--no-backup", &CliOptions::noBackup);
constexpr OptionRule kVerify = flagRule("--verify", &CliOptions::verify);
constexpr OptionRule kAllBlocks = flagRule("--all-blocks", &CliOptions::allBlocks);
constexpr OptionRule kRadio{"--radio", {}, false, {}, [](CliOptions& o, const std::string&) {
                                if (o.radio) {
                                    return std::string("'--radio' may stand for one side only");
                                }
                                o.radio = true;
                                o.radioFirst = o.operands.empty();
                                return std::string();
                            }};

constexpr std::array<const OptionRule*, 4> kReadOptions{&kPort, &kDevice, &kNoSearch, &kNoBackup};
constexpr std::array<const OptionRule*, 6> kWriteOptions{&kPort,     &kDevice, &kNoSearch,
                                                         &kNoBackup, &kVerify, &kAllBlocks};
constexpr std::array<const OptionRule*, 5> kDiffOptions{&kPort, &kDevice, &kNoSearch, &kNoBackup,
                                                        &kRadio};

constexpr std::array kPortHelpLines{
    OptionHelp{&kPort, "N", "use port N (1..255) for this run; the stored port stays"},
    OptionHelp{&kDevice, "PATH", "use this serial device (no search, nothing stored)"},
    OptionHelp{&kNoSearch, {}, "do not search the other ports when the port is silent"},
    OptionHelp{&kNoBackup, {}, "keep no automatic backup for this run"},
};
constexpr std::string_view kPortNotes =
    "\n"
    "The port is \"setup\"/\"com\" of the settings file; when it does not answer\n"
    "and \"setup\"/\"searchcom\" allows it, ports 1 to 255 are searched and the\n"
    "port found is stored. Ctrl+C stops after the current block.\n";
constexpr std::array kWriteHelpLines{
    OptionHelp{&kVerify,
               {},
               "read the radio back after the write and compare; exit 6\n"
               "and the differing blocks when it holds other data"},
    OptionHelp{&kAllBlocks,
               {},
               "send and check all 124 blocks, not only those that differ\n"
               "from the backup read (also \"transfer\"/\"allblocks\"=1)"},
};
constexpr std::string_view kBackupNotes =
    "\n"
    "Backups go to $XDG_DATA_HOME/qzm836/backups (~/.local/share/...); the newest\n"
    "200 are kept, every one of the last 7 days, and the last of every day.\n"
    "\"backup\"/\"enabled\"=0 in the settings file turns them off.\n"
    "\n"
    "However the run ends (done, failed, Ctrl+C), a write says what the radio holds:\n"
    "untouched, part of the new image (blocks N of M), or all of it, unchecked or\n"
    "checked.  Ctrl+C, a closing terminal or a termination request stop the write\n"
    "after the current block; only a second Ctrl+C stops without waiting for it.\n";

constexpr std::array kReadHelp{
    HelpSection{true, 15, kPortHelpLines, kPortNotes},
    HelpSection{false, 0, {}, kBackupNotes},
};
constexpr std::array kWriteHelp{
    HelpSection{true, 15, kPortHelpLines, kPortNotes},
    HelpSection{true, 15, kWriteHelpLines, {}},
    HelpSection{false, 0, {}, kBackupNotes},
};

// ---- clone: many ports at once ---------------------------------------------------

// A value given to clone's repeatable options may not be empty.
constexpr std::string_view kCloneDeviceEmpty = "option '--device' needs a value";
constexpr OptionRule kCloneDevice{
    "--device", {}, true, kCloneDeviceEmpty, [](CliOptions& o, const std::string& value) {
        o.devices.push_back(value);
        return std::string();
    }};
constexpr OptionRule kClonePort{"--port",
                                {},
                                true,
                                "option '--port' needs a value",
                                [](CliOptions& o, const std::string& value) {
                                    std::string error;
                                    if (auto number = portNumber(value, error)) {
                                        o.ports.push_back(*number);
                                    }
                                    return error;
                                }};
constexpr OptionRule kAll = flagRule("--all", &CliOptions::allPorts);
constexpr OptionRule kStation = flagRule("--station", &CliOptions::station);
constexpr OptionRule kLog{
    "--log", {}, true, "option '--log' needs a value", [](CliOptions& o, const std::string& value) {
        o.logFile = value;
        return std::string();
    }};

constexpr std::array<const OptionRule*, 8> kCloneOptions{
    &kCloneDevice, &kClonePort, &kAll, &kVerify, &kAllBlocks, &kStation, &kLog, &kNoBackup};
constexpr std::array kCloneHelpLines{
    OptionHelp{&kCloneDevice, "DEV", "a cable's device (repeatable)"},
    OptionHelp{&kClonePort, "N", "port N (1..255) as the settings map it (repeatable)"},
    OptionHelp{&kAll, {}, "every USB-serial cable plugged in"},
    OptionHelp{&kVerify, {}, "read each radio back and compare it with the image"},
    OptionHelp{&kAllBlocks, {}, "send all 124 blocks, not only those that differ"},
    OptionHelp{&kStation,
               {},
               "keep going: program each radio that answers, then wait\n"
               "until it is removed before taking the next; Ctrl+C ends"},
    OptionHelp{&kLog, "FILE",
               "append a line per radio to FILE (CSV); opened before any\n"
               "radio is touched, and the run refused when it cannot be\n"
               "written; a station stops when a line cannot be added"},
    OptionHelp{&kNoBackup, {}, "do not back up each radio's memory before writing it"},
};
constexpr std::array kCloneHelp{
    HelpSection{true, 15, kCloneHelpLines,
                "\n"
                "Each radio's memory is saved in the backup folder before it is written\n"
                "(~/.local/share/qzm836/backups). The ports work in parallel; a port that\n"
                "fails does not stop the others. Ctrl+C stops every port after its current\n"
                "block (a second Ctrl+C without waiting for it); each radio is reported with\n"
                "what it holds. The exit status is 0 only when every radio succeeded, else\n"
                "that of the first failure.\n"}};

// ---- export and import ---------------------------------------------------------------

constexpr OptionRule kFormat{"--format", {}, true, {}, [](CliOptions& o, const std::string& value) {
                                 if (value == "chirp") {
                                     o.format = ChannelFormat::Chirp;
                                 } else if (value == "csv") {
                                     o.format = ChannelFormat::Own;
                                 } else {
                                     return "format must be csv or chirp, not '" + value + "'";
                                 }
                                 return std::string();
                             }};
constexpr OptionRule kRenumber = flagRule("--renumber", &CliOptions::renumber);
constexpr OptionRule kStrict = flagRule("--strict", &CliOptions::strict);

constexpr std::array<const OptionRule*, 1> kExportOptions{&kFormat};
constexpr std::array<const OptionRule*, 3> kImportOptions{&kFormat, &kRenumber, &kStrict};
constexpr std::array kFormatHelpLines{
    OptionHelp{&kFormat, "csv",
               "our own channel table (the default for export); columns\n"
               "channel,rx_freq,rx_tone,tx_freq,tx_tone,col5,narrow,\n"
               "high_power,col8,col9"},
    OptionHelp{&kFormat, "chirp",
               "the generic CSV of CHIRP (import recognises it from the\n"
               "header without this option)"},
};
constexpr std::array kImportHelpLines{
    OptionHelp{&kRenumber,
               {},
               "CHIRP rows fill channels 1..16 in file order instead of\n"
               "going to their Location"},
    OptionHelp{&kStrict, {}, "refuse the whole file when any CHIRP row is skipped"},
};
constexpr std::array kExportHelp{HelpSection{true, 16, kFormatHelpLines, {}}};
constexpr std::array kImportHelp{
    HelpSection{true, 16, kFormatHelpLines, {}},
    HelpSection{false, 16, kImportHelpLines,
                "\n"
                "A CHIRP import prints one line per row: taken, repaired (frequency moved\n"
                "onto the channel grid, tone moved onto the list) or skipped and why.\n"
                "Channels the file does not name are kept.\n"},
};

// ---- The commands --------------------------------------------------------------------

constexpr std::array kCommands{
    CommandInfo{Command::New,
                "new",
                1,
                1,
                "new OUT.836 [--band INDEX]",
                "Create a new document (band INDEX 0..6, default 3) and save it as OUT.836.",
                kNewOptions,
                {}},
    CommandInfo{Command::Show,
                "show",
                1,
                1,
                "show FILE.836",
                "Print the settings and the 16 channels as the editor shows them.",
                {},
                {}},
    CommandInfo{Command::Export, "export", 1, 2, "export FILE.836 [OUT.csv|-] [--format F]",
                "Write the channel table as CSV (to standard output by default or for -).",
                kExportOptions, kExportHelp},
    CommandInfo{Command::Import, "import", 3, 3,
                "import FILE.836 IN.csv OUT.836 [--format F] [--renumber] [--strict]",
                "Apply the channels of IN.csv to FILE.836 as the editor applies typed\n"
                "values, and save the result as OUT.836 (which may be FILE.836 itself).\n"
                "IN.csv may be - for standard input.",
                kImportOptions, kImportHelp},
    CommandInfo{Command::Read, "read", 1, 1,
                "read OUT.836 [--no-backup] [--port N | --device PATH] [--no-search]",
                "Read the radio into a new document and save it as OUT.836 (and keep a\n"
                "backup of it).",
                kReadOptions, kReadHelp},
    CommandInfo{
        Command::Write, "write", 1, 1,
        "write FILE.836 [--verify] [--no-backup] [--all-blocks] [--port N | --device PATH]\n"
        "        [--no-search]",
        "Write FILE.836 to the radio.  The radio's memory is read and kept as a backup\n"
        "first; only then does the write begin, and it sends only the blocks that\n"
        "differ from what the radio holds.",
        kWriteOptions, kWriteHelp},
    CommandInfo{Command::Backups,
                "backups",
                0,
                0,
                "backups",
                "List the automatic backups, newest first: number, date and time, kind,\n"
                "band and programmed channels, and under each its name.  A backup cut short\n"
                "is marked and never restored.",
                {},
                {}},
    CommandInfo{Command::Restore, "restore", 0, 1,
                "restore [N|NAME|FILE.836] [--verify] [--no-backup] [--all-blocks]\n"
                "        [--port N | --device PATH] [--no-search]",
                "Write a backup back to the radio, keeping a backup of what it holds first\n"
                "(kind before-restore).  Without an operand: the newest complete backup that\n"
                "is not a before-restore copy, so a retried restore writes the same data.\n"
                "NAME: the backup of that name in the list.  N: number N as 'backups' last\n"
                "showed it, refused when the list has changed since (a station adds backups).\n"
                "FILE.836: any data file.  An operand of digits only is a number; write\n"
                "./NAME for a file of that name.",
                kWriteOptions, kWriteHelp},
    CommandInfo{Command::Clone, "clone", 1, 1,
                "clone IMAGE.836 [--device DEV]... [--port N]... [--all] [--verify]\n"
                "        [--all-blocks] [--station] [--log FILE.csv] [--no-backup]",
                "Write IMAGE.836 to the radios on every given port at the same time.",
                kCloneOptions, kCloneHelp},
    CommandInfo{Command::Diff, "diff", 1, 2, "diff OLD.836 NEW.836 (either may be --radio)",
                "List what differs from OLD to NEW, one field per line, in the texts of the\n"
                "editor. --radio in place of a file reads the radio's memory first (the\n"
                "options of read apply). Exit status: 0 equal, 1 different, 2 usage error,\n"
                "3 file error, 4 the radio did not answer or a block failed, 5 wrong radio.",
                kDiffOptions, kReadHelp},
    CommandInfo{Command::Doctor,
                "doctor",
                0,
                0,
                "doctor",
                "Check the serial ports and the system for what keeps the radio from\n"
                "answering, with one sentence on how to fix each problem.\n"
                "Exit status: 0 nothing found, 1 a problem found.",
                {},
                {}},
};

}  // namespace

std::span<const CommandInfo> commandTable() {
    return kCommands;
}

const CommandInfo* findCommand(std::string_view name) {
    for (const auto& info : kCommands) {
        if (info.name == name) {
            return &info;
        }
    }
    return nullptr;
}

const CommandInfo* findCommand(Command command) {
    for (const auto& info : kCommands) {
        if (info.command == command) {
            return &info;
        }
    }
    return nullptr;
}

std::span<const OptionRule* const> globalOptions() {
    return kGlobalOptions;
}

const HelpSection& globalHelp() {
    return kGlobalHelp;
}

const OptionRule* findOption(std::span<const OptionRule* const> options, std::string_view name) {
    for (const OptionRule* option : options) {
        if (option->name == name || (!option->alias.empty() && option->alias == name)) {
            return option;
        }
    }
    return nullptr;
}

}  // namespace qzm::cli
