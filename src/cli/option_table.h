// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What each command accepts, declared once: the parser takes the options from here and
// the usage text describes them from here, so neither can know an option the other
// does not.

#include <span>
#include <string>
#include <string_view>

#include "cli/cli_options.h"

namespace qzm::cli {

struct OptionRule {
    std::string_view name;   // "--port"
    std::string_view alias;  // "-h"; empty when none
    bool takesValue = false;
    // The error for an empty value; empty: an empty value goes to `apply` as it is.
    std::string_view emptyValueError;
    // Stores the option (with its value) in `options`; the error text, empty when taken.
    std::string (*apply)(CliOptions& options, const std::string& value) = nullptr;
    // A plain flag instead: the field it sets.
    bool CliOptions::*flag = nullptr;
};

// A flag that only sets `field`.
constexpr OptionRule flagRule(std::string_view name, bool CliOptions::*field,
                              std::string_view alias = {}) {
    return {name, alias, false, {}, nullptr, field};
}

// One line of a usage text: "  --port N       use port N ...".
struct OptionHelp {
    const OptionRule* option;
    std::string_view value;  // the value's name in the label ("N", "csv"); may be empty
    std::string_view text;   // further lines after '\n' are indented under the first
};

// A block of option lines and the prose that follows them.
struct HelpSection {
    bool blankLineBefore = true;
    int labelWidth = 0;  // the label column, without the two leading spaces
    std::span<const OptionHelp> options;
    std::string_view after;
};

struct CommandInfo {
    Command command;
    std::string_view name;
    std::size_t minOperands;
    std::size_t maxOperands;
    std::string_view synopsis;
    std::string_view description;
    std::span<const OptionRule* const> options;
    std::span<const HelpSection> help;
};

std::span<const CommandInfo> commandTable();
const CommandInfo* findCommand(std::string_view name);
const CommandInfo* findCommand(Command command);

// The options every command takes, before or after its name, and their usage block.
std::span<const OptionRule* const> globalOptions();
const HelpSection& globalHelp();

// The rule named `name` (or its alias) among `options`; nullptr when none.
const OptionRule* findOption(std::span<const OptionRule* const> options, std::string_view name);

}  // namespace qzm::cli
