// SPDX-License-Identifier: GPL-3.0-or-later
// The usage texts, written from the option table: an option is described where it is
// accepted and nowhere else.

#include <algorithm>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/option_table.h"

namespace qzm::cli {
namespace {

// "  --port N       use port N ...", the text's further lines under its first.
void appendSection(std::string& text, const HelpSection& section) {
    if (section.blankLineBefore) {
        text += "\n";
    }
    const std::size_t column = static_cast<std::size_t>(section.labelWidth);
    for (const OptionHelp& line : section.options) {
        std::string label(line.option->name);
        if (!line.value.empty()) {
            label += " ";
            label += line.value;
        }
        label.resize(std::max(column, label.size() + 1), ' ');
        text += "  " + label;
        std::string_view rest = line.text;
        for (bool first = true;; first = false) {
            const auto end = rest.find('\n');
            if (!first) {
                text += std::string(column + 2, ' ');
            }
            text += rest.substr(0, end);
            text += "\n";
            if (end == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(end + 1);
        }
    }
    text += section.after;
}

}  // namespace

std::string usageText(Command command) {
    std::string text;
    if (const CommandInfo* info = findCommand(command)) {
        text += "Usage: qzm836-cli [--settings FILE] [--lang NAME] ";
        text += info->synopsis;
        text += "\n\n";
        text += info->description;
        text += "\n";
        for (const HelpSection& section : info->help) {
            appendSection(text, section);
        }
        return text;
    }
    text +=
        "Usage: qzm836-cli [--settings FILE] [--lang NAME] COMMAND ...\n"
        "\n"
        "Reads, writes and edits the memory of a QZM-836 radio.\n"
        "\n"
        "Commands:\n";
    for (const CommandInfo& entry : commandTable()) {
        text += "  " + std::string(entry.synopsis) + "\n";
    }
    text += "\nOptions:\n";
    appendSection(text, globalHelp());
    text +=
        "\n"
        "Exit status: 0 success, 1 a block failed, 2 usage error, 3 file error,\n"
        "4 no radio answered, 5 wrong identification, 6 the radio holds other data than\n"
        "was written (--verify; a read-back that fails is 1), 130 cancelled.\n"
        "diff: 0 equal, 1 different; doctor: 0 nothing found, 1 a problem found.\n";
    return text;
}

}  // namespace qzm::cli
