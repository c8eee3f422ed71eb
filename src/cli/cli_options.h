// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qzm::cli {

enum class Command {
    None,
    New,
    Show,
    Export,
    Import,
    Read,
    Write,
    Backups,
    Restore,
    Clone,
    Diff,
    Doctor
};

// The CSV dialect of export and import: our own channel table or CHIRP's.
enum class ChannelFormat { Own, Chirp };

// Everything the command line asks for, checked for shape (counts, ranges,
// combinations) but not for the existence of files.
struct CliOptions {
    std::optional<std::string> settingsFile;  // --settings FILE
    std::optional<std::string> languageName;  // --lang NAME
    Command command = Command::None;
    bool help = false;                    // --help: print the usage of `command` (or of the tool)
    bool version = false;                 // --version
    std::vector<std::string> operands;    // the files, in command-line order
    int bandIndex = 3;                    // new --band INDEX
    std::optional<int> port;              // read/write --port N
    std::optional<std::string> device;    // read/write --device PATH
    bool noSearch = false;                // read/write --no-search
    bool verify = false;                  // write/restore/clone --verify
    bool allBlocks = false;               // write/restore/clone --all-blocks
    bool noBackup = false;                // read/write/restore/clone --no-backup
    std::optional<ChannelFormat> format;  // export/import --format; import: from the header
    bool renumber = false;                // import --renumber (CHIRP)
    bool strict = false;                  // import --strict (CHIRP)
    // clone: every --device and --port (repeatable), --all, and what each radio gets.
    std::vector<std::string> devices;
    std::vector<int> ports;
    bool allPorts = false;               // clone --all
    bool station = false;                // clone --station
    std::optional<std::string> logFile;  // clone --log FILE.csv
    bool radio = false;                  // diff --radio: one side is the radio's memory
    bool radioFirst = false;             // --radio stood before the file: the radio is the old side
};

struct ParsedCommandLine {
    std::optional<CliOptions> options;  // empty on a usage error
    std::string error;                  // why, for the user
    Command command = Command::None;    // the command named before the error, if any
};

// `arguments` excludes the program name.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The usage text of the tool (Command::None) or of one command.
std::string usageText(Command command);

std::string commandName(Command command);

inline constexpr const char* kProgramName = "qzm836-cli";

}  // namespace qzm::cli
