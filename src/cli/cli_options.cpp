// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_options.h"

#include <string_view>

#include "cli/option_table.h"

namespace qzm::cli {
namespace {

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

    // Options of the command named so far; before a command only the global ones.
    bool takeOption(const std::string& word, CliOptions& options, const CommandInfo* info) {
        const OptionWord option = splitOption(word);
        const OptionRule* rule = findOption(globalOptions(), option.name);
        if (rule == nullptr && info != nullptr) {
            rule = findOption(info->options, option.name);
        }
        if (rule == nullptr) {
            error_ = "unknown option '" + std::string(option.name) + "'";
            if (info != nullptr) {
                error_ += " for '" + std::string(info->name) + "'";
            }
            return false;
        }
        std::string value;
        if (rule->takesValue) {
            auto given = valueOf(option);
            if (!given) {
                return false;
            }
            if (given->empty() && !rule->emptyValueError.empty()) {
                error_ = rule->emptyValueError;
                return false;
            }
            value = std::move(*given);
        } else if (option.inlineValue) {
            error_ = "option '" + std::string(option.name) + "' takes no value";
            return false;
        }
        if (rule->flag != nullptr) {
            options.*(rule->flag) = true;
            return true;
        }
        error_ = rule->apply(options, value);
        return error_.empty();
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

}  // namespace qzm::cli
