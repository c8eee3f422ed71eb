// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_info.h"

#include <gtest/gtest.h>

#include "platform/program_version.h"

namespace qzm {
namespace {

TEST(ProgramInfo, VersionAndHelpOnlyAsTheFirstArgument) {
    struct Case {
        std::vector<std::string> arguments;
        const char* startsWith;  // nullptr: the window starts
    };
    const Case cases[] = {
        {{}, nullptr},
        {{"radio.836"}, nullptr},
        {{"radio.836", "--version"}, nullptr},
        {{"--version"}, "qzm836 "},
        {{"--help"}, "Usage: qzm836"},
        {{"-h"}, "Usage: qzm836"},
    };
    for (const auto& c : cases) {
        const auto text = programInfoText(c.arguments);
        if (c.startsWith == nullptr) {
            EXPECT_FALSE(text.has_value()) << testing::PrintToString(c.arguments);
        } else {
            ASSERT_TRUE(text.has_value()) << c.startsWith;
            EXPECT_TRUE(text->starts_with(c.startsWith)) << *text;
        }
    }
    const std::string version = *programInfoText({"--version"});
    EXPECT_TRUE(version.starts_with("qzm836 " + std::string(programVersion()) + "\n")) << version;
    EXPECT_NE(version.find("GPL-3.0-or-later"), std::string::npos) << version;
    EXPECT_NE(version.find("NO WARRANTY"), std::string::npos) << version;
}

}  // namespace
}  // namespace qzm
