// SPDX-License-Identifier: GPL-3.0-or-later
// The Chinese interface says everything in Chinese: the only Latin words its
// language file may hold are names the user types or sees elsewhere as they
// are (commands, files, devices, units, the radio's and other programs' names).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

namespace {

const std::set<std::string> kNames = {
    // the radio, keys, files, settings and devices
    "QZM", "Ctrl", "setting", "ini", "ports", "COM", "dev", "ttyUSB", "csv", "XDG", "DATA", "HOME",
    "backup", "enabled", "Linux", "DTMF", "MHz", "CHIRP", "NAK", "PID", "USB", "CH", "CP",
    // commands a user is told to run, and the system parts they name
    "dialout", "sudo", "usermod", "aG", "udev", "rules", "cli", "doctor", "kill", "brltty", "apt",
    "remove", "ModemManager", "systemctl", "disable", "now", "qzm", "restore",
    // the licence, the emulator, a chip maker
    "GNU", "sim", "FTDI",
    // tone systems, and the columns of a CHIRP file as they stand in it
    "CTCSS", "DCS", "Hz", "off", "Location", "Frequency",
    // key names of menu accelerators
    "Ins", "Del", "Shift", "Alt", "Backspace"};

TEST(ChineseLanguageFile, HoldsNoEnglishWords) {
    const auto path = std::filesystem::path(QZM_TEST_SOURCE_DIR) / "res" / "chinese.lang";
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    const std::regex word("[A-Za-z]{2,}");
    // Placeholders, escapes and the licence's identifier are no words.
    const std::regex placeholders(R"(%[0-9]|\\[nt]|GPL-3\.0-or-later)");
    std::string line;
    std::string section;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            section = line;
            continue;
        }
        const auto equals = line.find('=');
        if (section == "[Face]" || equals == std::string::npos) {
            continue;  // the locale name is no text
        }
        const std::string value = std::regex_replace(line.substr(equals + 1), placeholders, " ");
        for (auto it = std::sregex_iterator(value.begin(), value.end(), word);
             it != std::sregex_iterator(); ++it) {
            EXPECT_TRUE(kNames.count(it->str()) == 1)
                << "line " << number << ": \"" << it->str() << "\" in " << line;
        }
    }
}

}  // namespace
