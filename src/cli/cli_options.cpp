// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_options.h"

#include <array>
#include <charconv>
#include <string_view>

namespace qzm::cli {
namespace {

struct CommandInfo {
    Command command;
    std::string_view name;
    std::size_t minOperands;
    std::size_t maxOperands;
    std::string_view synopsis;
    std::string_view description;
};

constexpr std::array kCommands{
    CommandInfo{Command::New, "new", 1, 1, "new OUT.836 [--band INDEX]",
                "Create a new document (band INDEX 0..6, default 3) and save it as OUT.836."},
    CommandInfo{Command::Show, "show", 1, 1, "show FILE.836",
                "Print the settings and the 16 channels as the editor shows them."},
    CommandInfo{Command::Export, "export", 1, 2, "export FILE.836 [OUT.csv|-] [--format F]",
                "Write the channel table as CSV (to standard output by default or for -)."},
    CommandInfo{Command::Import, "import", 3, 3,
                "import FILE.836 IN.csv OUT.836 [--format F] [--renumber] [--strict]",
                "Apply the channels of IN.csv to FILE.836 as the editor applies typed\n"
                "values, and save the result as OUT.836 (which may be FILE.836 itself).\n"
                "IN.csv may be - for standard input."},
    CommandInfo{Command::Read, "read", 1, 1,
                "read OUT.836 [--no-backup] [--port N | --device PATH] [--no-search]",
                "Read the radio into a new document and save it as OUT.836 (and keep a\n"
                "backup of it)."},
    CommandInfo{
        Command::Write, "write", 1, 1,
        "write FILE.836 [--verify] [--no-backup] [--all-blocks] [--port N | --device PATH]\n"
        "        [--no-search]",
        "Write FILE.836 to the radio.  The radio's memory is read and kept as a backup\n"
        "first; only then does the write begin, and it sends only the blocks that\n"
        "differ from what the radio holds."},
    CommandInfo{Command::Backups, "backups", 0, 0, "backups",
                "List the automatic backups, newest first: number, date and time, kind,\n"
                "band and programmed channels, and under each its name.  A backup cut short\n"
                "is marked and never restored."},
    CommandInfo{Command::Restore, "restore", 0, 1,
                "restore [N|NAME|FILE.836] [--verify] [--no-backup] [--all-blocks]\n"
                "        [--port N | --device PATH] [--no-search]",
                "Write a backup back to the radio, keeping a backup of what it holds first\n"
                "(kind before-restore).  Without an operand: the newest complete backup that\n"
                "is not a before-restore copy, so a retried restore writes the same data.\n"
                "NAME: the backup of that name in the list.  N: number N as 'backups' last\n"
                "showed it, refused when the list has changed since (a station adds backups).\n"
                "FILE.836: any data file.  An operand of digits only is a number; write\n"
                "./NAME for a file of that name."},
    CommandInfo{Command::Clone, "clone", 1, 1,
                "clone IMAGE.836 [--device DEV]... [--port N]... [--all] [--verify]\n"
                "        [--all-blocks] [--station] [--log FILE.csv] [--no-backup]",
                "Write IMAGE.836 to the radios on every given port at the same time."},
    CommandInfo{Command::Diff, "diff", 1, 2, "diff OLD.836 NEW.836 (either may be --radio)",
                "List what differs from OLD to NEW, one field per line, in the texts of the\n"
                "editor. --radio in place of a file reads the radio's memory first (the\n"
                "options of read apply). Exit status: 0 equal, 1 different, 2 usage error,\n"
                "3 file error, 4 the radio did not answer or a block failed, 5 wrong radio."},
    CommandInfo{Command::Doctor, "doctor", 0, 0, "doctor",
                "Check the serial ports and the system for what keeps the radio from\n"
                "answering, with one sentence on how to fix each problem.\n"
                "Exit status: 0 nothing found, 1 a problem found."},
};

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

std::optional<int> parseNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

bool isTransferCommand(Command command) {
    return command == Command::Read || command == Command::Write || command == Command::Restore;
}

bool writesToRadio(Command command) {
    return command == Command::Write || command == Command::Restore;
}

bool isExchangeCommand(Command command) {
    return command == Command::Export || command == Command::Import;
}

// Commands that may talk to the radio and so take the port options.
bool takesPortOptions(Command command) {
    return isTransferCommand(command) || command == Command::Diff;
}

// Splits "--name=value" into name and value; plain "--name" gives no value.
struct OptionWord {
    std::string_view name;
    std::optional<std::string_view> inlineValue;
};

OptionWord splitOption(std::string_view word) {
    auto eq = word.find('=');
    if (word.starts_with("--") && eq != std::string_view::npos) {
        return {word.substr(0, eq), word.substr(eq + 1)};
    }
    return {word, std::nullopt};
}

class Parser {
  public:
    explicit Parser(const std::vector<std::string>& arguments) : args_(arguments) {}

    ParsedCommandLine run() {
        ParsedCommandLine result;
        CliOptions options;
        bool operandsOnly = false;
        const CommandInfo* info = nullptr;
        for (index_ = 0; index_ < args_.size(); ++index_) {
            const std::string& word = args_[index_];
            if (!operandsOnly && word == "--") {
                operandsOnly = true;
                continue;
            }
            if (!operandsOnly && word.size() > 1 && word[0] == '-') {
                if (!takeOption(word, options, info)) {
                    return fail(result, info);
                }
                continue;
            }
            if (info == nullptr) {
                info = findCommand(word);
                if (info == nullptr) {
                    error_ = "unknown command '" + word + "'";
                    return fail(result, info);
                }
                options.command = info->command;
                continue;
            }
            options.operands.push_back(word);
        }
        result.command = options.command;
        if (options.help || options.version) {
            result.options = std::move(options);
            return result;
        }
        if (info == nullptr) {
            error_ = "no command given";
            return fail(result, info);
        }
        if (options.operands.size() < info->minOperands) {
            error_ = "'" + std::string(info->name) + "' needs " +
                     (info->minOperands == info->maxOperands ? "" : "at least ") +
                     std::to_string(info->minOperands) + " file name" +
                     (info->minOperands == 1 ? "" : "s");
            return fail(result, info);
        }
        if (options.operands.size() > info->maxOperands) {
            error_ = "too many arguments for '" + std::string(info->name) + "': '" +
                     options.operands[info->maxOperands] + "'";
            return fail(result, info);
        }
        if (!checkCombinations(options)) {
            return fail(result, info);
        }
        result.options = std::move(options);
        return result;
    }

  private:
    ParsedCommandLine& fail(ParsedCommandLine& result, const CommandInfo* info) {
        result.error = error_;
        result.command = info == nullptr ? Command::None : info->command;
        result.options.reset();
        return result;
    }

    // The value of an option: inline after '=' or the next word.
    std::optional<std::string> valueOf(const OptionWord& option) {
        if (option.inlineValue) {
            return std::string(*option.inlineValue);
        }
        if (index_ + 1 >= args_.size()) {
            error_ = "option '" + std::string(option.name) + "' needs a value";
            return std::nullopt;
        }
        return args_[++index_];
    }

    bool takeOption(const std::string& word, CliOptions& options, const CommandInfo* info) {
        OptionWord option = splitOption(word);
        auto flagWithoutValue = [&]() {
            if (option.inlineValue) {
                error_ = "option '" + std::string(option.name) + "' takes no value";
                return false;
            }
            return true;
        };
        if (option.name == "--help" || option.name == "-h") {
            options.help = true;
            return flagWithoutValue();
        }
        if (option.name == "--version") {
            options.version = true;
            return flagWithoutValue();
        }
        if (option.name == "--settings") {
            auto value = valueOf(option);
            if (!value) {
                return false;
            }
            if (value->empty()) {
                error_ = "option '--settings' needs a file name";
                return false;
            }
            options.settingsFile = *value;
            return true;
        }
        if (option.name == "--lang") {
            auto value = valueOf(option);
            if (!value) {
                return false;
            }
            if (value->empty()) {
                error_ = "option '--lang' needs a language name";
                return false;
            }
            options.languageName = *value;
            return true;
        }
        Command command = info == nullptr ? Command::None : info->command;
        if (option.name == "--band" && command == Command::New) {
            auto value = valueOf(option);
            if (!value) {
                return false;
            }
            auto number = parseNumber(*value);
            if (!number || *number < 0 || *number > 6) {
                error_ = "band index must be 0 to 6, not '" + *value + "'";
                return false;
            }
            options.bandIndex = *number;
            return true;
        }
        if (option.name == "--port" && takesPortOptions(command)) {
            auto value = valueOf(option);
            if (!value) {
                return false;
            }
            auto number = parseNumber(*value);
            if (!number || *number < 1 || *number > 255) {
                error_ = "port must be 1 to 255, not '" + *value + "'";
                return false;
            }
            options.port = *number;
            return true;
        }
        if (option.name == "--device" && takesPortOptions(command)) {
            auto value = valueOf(option);
            if (!value) {
                return false;
            }
            if (value->empty()) {
                error_ = "option '--device' needs a device path";
                return false;
            }
            options.device = *value;
            return true;
        }
        if (option.name == "--format" && isExchangeCommand(command)) {
            auto value = valueOf(option);
            if (!value) {
                return false;
            }
            if (*value == "chirp") {
                options.format = ChannelFormat::Chirp;
            } else if (*value == "csv") {
                options.format = ChannelFormat::Own;
            } else {
                error_ = "format must be csv or chirp, not '" + *value + "'";
                return false;
            }
            return true;
        }
        if (option.name == "--renumber" && command == Command::Import) {
            options.renumber = true;
            return flagWithoutValue();
        }
        if (option.name == "--strict" && command == Command::Import) {
            options.strict = true;
            return flagWithoutValue();
        }
        if (command == Command::Clone) {
            auto taken = takeCloneOption(option, options);
            if (taken != Taken::NotMine) {
                return taken == Taken::Yes;
            }
        }
        if (option.name == "--no-search" && takesPortOptions(command)) {
            options.noSearch = true;
            return flagWithoutValue();
        }
        if (option.name == "--no-backup" && takesPortOptions(command)) {
            options.noBackup = true;
            return flagWithoutValue();
        }
        if (option.name == "--verify" && writesToRadio(command)) {
            options.verify = true;
            return flagWithoutValue();
        }
        if (option.name == "--all-blocks" && writesToRadio(command)) {
            options.allBlocks = true;
            return flagWithoutValue();
        }
        if (option.name == "--radio" && command == Command::Diff) {
            if (options.radio) {
                error_ = "'--radio' may stand for one side only";
                return false;
            }
            options.radio = true;
            options.radioFirst = options.operands.empty();
            return flagWithoutValue();
        }
        if (info == nullptr) {
            error_ = "unknown option '" + std::string(option.name) + "'";
        } else {
            error_ = "unknown option '" + std::string(option.name) + "' for '" +
                     std::string(info->name) + "'";
        }
        return false;
    }

    enum class Taken { Yes, Failed, NotMine };

    // The options of clone; --device and --port may be given many times.
    Taken takeCloneOption(const OptionWord& option, CliOptions& options) {
        auto flag = [&](bool& target) {
            if (option.inlineValue) {
                error_ = "option '" + std::string(option.name) + "' takes no value";
                return Taken::Failed;
            }
            target = true;
            return Taken::Yes;
        };
        if (option.name == "--all") {
            return flag(options.allPorts);
        }
        if (option.name == "--verify") {
            return flag(options.verify);
        }
        if (option.name == "--all-blocks") {
            return flag(options.allBlocks);
        }
        if (option.name == "--station") {
            return flag(options.station);
        }
        if (option.name == "--no-backup") {
            return flag(options.noBackup);
        }
        if (option.name != "--device" && option.name != "--port" && option.name != "--log") {
            return Taken::NotMine;
        }
        auto value = valueOf(option);
        if (!value) {
            return Taken::Failed;
        }
        if (value->empty()) {
            error_ = "option '" + std::string(option.name) + "' needs a value";
            return Taken::Failed;
        }
        if (option.name == "--device") {
            options.devices.push_back(*value);
        } else if (option.name == "--log") {
            options.logFile = *value;
        } else {
            auto number = parseNumber(*value);
            if (!number || *number < 1 || *number > 255) {
                error_ = "port must be 1 to 255, not '" + *value + "'";
                return Taken::Failed;
            }
            options.ports.push_back(*number);
        }
        return Taken::Yes;
    }

    bool checkCombinations(const CliOptions& options) {
        if (options.command == Command::Clone && options.devices.empty() && options.ports.empty() &&
            !options.allPorts) {
            error_ = "'clone' needs the radios' ports: --device DEV, --port N or --all";
            return false;
        }
        if (options.renumber && options.format == ChannelFormat::Own) {
            error_ = "'--renumber' applies to the chirp format only";
            return false;
        }
        if (options.port && options.device) {
            error_ = "'--port' and '--device' exclude each other";
            return false;
        }
        if (options.command == Command::Diff) {
            if (options.operands.size() != (options.radio ? 1U : 2U)) {
                error_ = options.radio ? "'diff --radio' compares the radio with one file"
                                       : "'diff' needs two files, or one and '--radio'";
                return false;
            }
            if (!options.radio &&
                (options.port || options.device || options.noSearch || options.noBackup)) {
                error_ = "port options need '--radio'";
                return false;
            }
        }
        return true;
    }

    const std::vector<std::string>& args_;
    std::size_t index_ = 0;
    std::string error_;
};

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    return Parser(arguments).run();
}

std::string commandName(Command command) {
    const CommandInfo* info = findCommand(command);
    return info == nullptr ? std::string() : std::string(info->name);
}

std::string usageText(Command command) {
    std::string text;
    const CommandInfo* info = findCommand(command);
    if (info != nullptr) {
        text += "Usage: qzm836-cli [--settings FILE] [--lang NAME] ";
        text += info->synopsis;
        text += "\n\n";
        text += info->description;
        text += "\n";
        if (takesPortOptions(command)) {
            text +=
                "\n"
                "  --port N       use port N (1..255) for this run; the stored port stays\n"
                "  --device PATH  use this serial device (no search, nothing stored)\n"
                "  --no-search    do not search the other ports when the port is silent\n"
                "  --no-backup    keep no automatic backup for this run\n"
                "\n"
                "The port is \"setup\"/\"com\" of the settings file; when it does not answer\n"
                "and \"setup\"/\"searchcom\" allows it, ports 1 to 255 are searched and the\n"
                "port found is stored. Ctrl+C stops after the current block.\n";
            if (writesToRadio(command)) {
                text +=
                    "\n"
                    "  --verify       read the radio back after the write and compare; exit 6\n"
                    "                 and the differing blocks when it holds other data\n"
                    "  --all-blocks   send and check all 124 blocks, not only those that differ\n"
                    "                 from the backup read (also \"transfer\"/\"allblocks\"=1)\n";
            }
            text +=
                "\n"
                "Backups go to $XDG_DATA_HOME/qzm836/backups (~/.local/share/...); the newest\n"
                "200 are kept, every one of the last 7 days, and the last of every day.\n"
                "\"backup\"/\"enabled\"=0 in the settings file turns them off.\n"
                "\n"
                "However the run ends (done, failed, Ctrl+C), a write says what the radio holds:\n"
                "untouched, part of the new image (blocks N of M), or all of it, unchecked or\n"
                "checked.  Ctrl+C, a closing terminal or a termination request stop the write\n"
                "after the current block; only a second Ctrl+C stops without waiting for it.\n";
        }
        if (command == Command::Clone) {
            text +=
                "\n"
                "  --device DEV   a cable's device (repeatable)\n"
                "  --port N       port N (1..255) as the settings map it (repeatable)\n"
                "  --all          every USB-serial cable plugged in\n"
                "  --verify       read each radio back and compare it with the image\n"
                "  --all-blocks   send all 124 blocks, not only those that differ\n"
                "  --station      keep going: program each radio that answers, then wait\n"
                "                 until it is removed before taking the next; Ctrl+C ends\n"
                "  --log FILE     append a line per radio to FILE (CSV); opened before any\n"
                "                 radio is touched, and the run refused when it cannot be\n"
                "                 written; a station stops when a line cannot be added\n"
                "  --no-backup    do not back up each radio's memory before writing it\n"
                "\n"
                "Each radio's memory is saved in the backup folder before it is written\n"
                "(~/.local/share/qzm836/backups). The ports work in parallel; a port that\n"
                "fails does not stop the others. Ctrl+C stops every port after its current\n"
                "block (a second Ctrl+C without waiting for it); each radio is reported with\n"
                "what it holds. The exit status is 0 only when every radio succeeded, else\n"
                "that of the first failure.\n";
        }
        if (isExchangeCommand(command)) {
            text +=
                "\n"
                "  --format csv    our own channel table (the default for export); columns\n"
                "                  channel,rx_freq,rx_tone,tx_freq,tx_tone,col5,narrow,\n"
                "                  high_power,col8,col9\n"
                "  --format chirp  the generic CSV of CHIRP (import recognises it from the\n"
                "                  header without this option)\n";
        }
        if (command == Command::Import) {
            text +=
                "  --renumber      CHIRP rows fill channels 1..16 in file order instead of\n"
                "                  going to their Location\n"
                "  --strict        refuse the whole file when any CHIRP row is skipped\n"
                "\n"
                "A CHIRP import prints one line per row: taken, repaired (frequency moved\n"
                "onto the channel grid, tone moved onto the list) or skipped and why.\n"
                "Channels the file does not name are kept.\n";
        }
        return text;
    }
    text +=
        "Usage: qzm836-cli [--settings FILE] [--lang NAME] COMMAND ...\n"
        "\n"
        "Reads, writes and edits the memory of a QZM-836 radio.\n"
        "\n"
        "Commands:\n";
    for (const auto& entry : kCommands) {
        std::string line = "  " + std::string(entry.synopsis);
        text += line + "\n";
    }
    text +=
        "\n"
        "Options:\n"
        "  --settings FILE  the settings file (default: setting.ini beside the program)\n"
        "  --lang NAME      the language file NAME.lang (default: the one the settings choose)\n"
        "  --help           this text; COMMAND --help describes one command\n"
        "  --version        the program's version\n"
        "\n"
        "Exit status: 0 success, 1 a block failed, 2 usage error, 3 file error,\n"
        "4 no radio answered, 5 wrong identification, 6 the radio holds other data than\n"
        "was written (--verify; a read-back that fails is 1), 130 cancelled.\n"
        "diff: 0 equal, 1 different; doctor: 0 nothing found, 1 a problem found.\n";
    return text;
}

}  // namespace qzm::cli
