// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "radio_emulator.h"

namespace qzm::sim {

struct SimOptions {
    EmulatorConfig config;
    std::filesystem::path imagePath;  // empty: a fresh image
    std::filesystem::path linkPath;   // a symbolic link to the slave, made when set
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// The options of qzm836-sim (arguments without the program name).  Nothing, with the
// reason in `error`, when an option is unknown or its value is unusable.
std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args, std::string& error);

std::string simHelpText();

}  // namespace qzm::sim
