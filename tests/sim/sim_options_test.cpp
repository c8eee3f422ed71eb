// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_options.h"

#include <gtest/gtest.h>

#include <functional>

namespace qzm::sim {
namespace {

struct AcceptedCase {
    std::vector<std::string> args;
    std::function<bool(const SimOptions&)> holds;
    const char* what;
};

TEST(SimOptions, UnderstandsEveryOption) {
    const AcceptedCase cases[] = {
        {{},
         [](const SimOptions& o) {
             return o.imagePath.empty() && o.config.lineSpeed == 1.0 && !o.config.silent &&
                    o.config.identBytes == 8 && o.config.answerAcks && o.config.nakBlock < 0;
         },
         "defaults: a healthy radio at 9600 baud"},
        {{"--image", "a.836", "--save", "b.836", "--link", "/tmp/radio"},
         [](const SimOptions& o) {
             return o.imagePath == "a.836" && o.config.savePath == "b.836" &&
                    o.linkPath == "/tmp/radio";
         },
         "files"},
        {{"--speed", "0", "--answer-delay", "25"},
         [](const SimOptions& o) {
             return o.config.lineSpeed == 0.0 && o.config.answerDelayMs == 25;
         },
         "line"},
        {{"--speed", "2.5"},
         [](const SimOptions& o) { return o.config.lineSpeed == 2.5; },
         "fractional speed"},
        {{"--silent", "--quiet"},
         [](const SimOptions& o) { return o.config.silent && o.quiet; },
         "silent"},
        {{"--ident-bytes", "7"},
         [](const SimOptions& o) { return o.config.identBytes == 7; },
         "short identification"},
        {{"--no-ident"},
         [](const SimOptions& o) { return o.config.identBytes == 0; },
         "no identification"},
        {{"--bad-address", "123"},
         [](const SimOptions& o) {
             return o.config.badAddressBlock == 123 && !o.config.badAddressOnce;
         },
         "wrong address always"},
        {{"--bad-address-once", "0"},
         [](const SimOptions& o) {
             return o.config.badAddressBlock == 0 && o.config.badAddressOnce;
         },
         "wrong address once"},
        {{"--nak", "5"},
         [](const SimOptions& o) { return o.config.nakBlock == 5 && !o.config.nakOnce; },
         "NAK always"},
        {{"--nak-once", "5"},
         [](const SimOptions& o) { return o.config.nakBlock == 5 && o.config.nakOnce; },
         "NAK once"},
        {{"--corrupt", "123"},
         [](const SimOptions& o) { return o.config.corruptBlock == 123; },
         "a block kept wrongly"},
        {{"--garbage", "4"},
         [](const SimOptions& o) {
             return o.config.garbageCount == 4 && o.config.garbageAt == kGarbageAtHandshake;
         },
         "garbage before the handshake answer"},
        {{"--garbage", "2@ident"},
         [](const SimOptions& o) { return o.config.garbageAt == kGarbageAtIdent; },
         "garbage before the identification"},
        {{"--garbage", "1@17"},
         [](const SimOptions& o) { return o.config.garbageAt == 17; },
         "garbage before block 17"},
        {{"--hang-up-after", "9", "--no-ack-answer"},
         [](const SimOptions& o) { return o.config.hangUpAfterBlock == 9 && !o.config.answerAcks; },
         "hang-up and silent acknowledgements"},
        {{"--help"}, [](const SimOptions& o) { return o.help; }, "help"},
        {{"--version"}, [](const SimOptions& o) { return o.version; }, "version"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto options = parseSimOptions(c.args, error);
        ASSERT_TRUE(options.has_value()) << c.what << ": " << error;
        EXPECT_TRUE(c.holds(*options)) << c.what;
    }
}

TEST(SimOptions, RefusesUnusableValuesWithAReason) {
    const std::vector<std::vector<std::string>> cases = {
        {"--image"},
        {"--speed", "-1"},
        {"--speed", "fast"},
        {"--ident-bytes", "9"},
        {"--nak", "124"},
        {"--corrupt", "124"},
        {"--bad-address", "x"},
        {"--garbage", "0"},
        {"--garbage", "3@block"},
        {"--garbage", "3@124"},
        {"--answer-delay", "-5"},
        {"--frobnicate"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(parseSimOptions(args, error).has_value()) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(SimOptions, HelpExplainsEveryOption) {
    const std::string help = simHelpText();
    for (const char* option :
         {"--image", "--save", "--speed", "--answer-delay", "--link", "--quiet", "--silent",
          "--ident-bytes", "--no-ident", "--bad-address", "--bad-address-once", "--nak",
          "--nak-once", "--corrupt", "--garbage", "--hang-up-after", "--no-ack-answer", "--help",
          "--version"}) {
        EXPECT_NE(help.find(std::string("  ") + option + " "), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace qzm::sim
