// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/option_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_options.h"

namespace qzm::cli {
namespace {

// An option the parser takes but the usage text does not name is one nobody finds; an
// option the usage text names but the parser refuses is a lie.
TEST(OptionTable, EveryAcceptedOptionIsDescribedAndEveryDescribedOneAccepted) {
    for (const CommandInfo& info : commandTable()) {
        const std::string usage = usageText(info.command);
        for (const OptionRule* option : info.options) {
            EXPECT_NE(usage.find(std::string(option->name)), std::string::npos)
                << info.name << " takes " << option->name << " without describing it";
        }
        for (const HelpSection& section : info.help) {
            for (const OptionHelp& line : section.options) {
                EXPECT_EQ(findOption(info.options, line.option->name), line.option)
                    << info.name << " describes " << line.option->name << " but refuses it";
            }
        }
    }
    const std::string usage = usageText(Command::None);
    for (const OptionRule* option : globalOptions()) {
        EXPECT_NE(usage.find(std::string(option->name)), std::string::npos) << option->name;
    }
}

TEST(OptionTable, DescriptionsLineUpUnderTheirOption) {
    const std::string usage = usageText(Command::Write);
    EXPECT_NE(usage.find("  --verify       read the radio back after the write and compare; "
                         "exit 6\n                 and the differing blocks"),
              std::string::npos)
        << usage;
}

struct ParseCase {
    std::vector<std::string> arguments;
    std::string error;  // empty: accepted
};

TEST(OptionTable, OptionsAreTakenOnlyWhereTheyBelongAndTheirValuesChecked) {
    const ParseCase cases[] = {
        {{"new", "a.836", "--band=6"}, ""},
        {{"new", "a.836", "--band", "7"}, "band index must be 0 to 6, not '7'"},
        {{"show", "a.836", "--band", "3"}, "unknown option '--band' for 'show'"},
        {{"--port", "3", "read", "a.836"}, "unknown option '--port'"},
        {{"read", "a.836", "--port="}, "port must be 1 to 255, not ''"},
        {{"read", "a.836", "--device", ""}, "option '--device' needs a device path"},
        {{"read", "a.836", "--verify"}, "unknown option '--verify' for 'read'"},
        {{"write", "a.836", "--verify=1"}, "option '--verify' takes no value"},
        {{"clone", "i.836", "--port="}, "option '--port' needs a value"},
        {{"clone", "i.836", "--port", "2", "--port", "3", "--device", "/dev/x"}, ""},
        {{"clone", "i.836", "--no-search", "--all"}, "unknown option '--no-search' for 'clone'"},
        {{"diff", "--radio", "--radio", "a"}, "'--radio' may stand for one side only"},
        {{"export", "a.836", "--format", "xml"}, "format must be csv or chirp, not 'xml'"},
        {{"export", "a.836", "--renumber"}, "unknown option '--renumber' for 'export'"},
        {{"--lang", "", "show", "a.836"}, "option '--lang' needs a language name"},
        {{"-h"}, ""},
        {{"show", "--", "-x.836"}, ""},
    };
    for (const ParseCase& c : cases) {
        const ParsedCommandLine parsed = parseCommandLine(c.arguments);
        EXPECT_EQ(parsed.error, c.error) << c.arguments.front() << " ... " << c.arguments.back();
        EXPECT_EQ(parsed.options.has_value(), c.error.empty());
    }
}

TEST(OptionTable, RepeatableOptionsKeepEveryValueInOrder) {
    const ParsedCommandLine parsed =
        parseCommandLine({"clone", "i.836", "--port", "4", "--device=/dev/b", "--port", "2"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->ports, (std::vector<int>{4, 2}));
    EXPECT_EQ(parsed.options->devices, std::vector<std::string>{"/dev/b"});
}

}  // namespace
}  // namespace qzm::cli
