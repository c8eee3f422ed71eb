// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// qzm836-cli against radio emulators (qzm836-sim) on pseudo-terminals.

#include <stdlib.h>

#include <map>
#include <memory>

#include "cli_fixture.h"
#include "test_images.h"

namespace qzm::test {

inline std::filesystem::path simProgram() {
    return std::filesystem::path(QZM_TEST_PROGRAM_DIR) / "qzm836-sim";
}

class CliTransferTest : public CliTest {
  protected:
    // Backups go to the test's own folder, never to the user's; programs started
    // by the test inherit the variable.
    CliTransferTest() { ::setenv("XDG_DATA_HOME", path("data").c_str(), 1); }
    ~CliTransferTest() override { ::unsetenv("XDG_DATA_HOME"); }

    std::filesystem::path backupFolder() const { return dir_ / "data" / "qzm836" / "backups"; }

    // Starts a radio; its terminal's path.
    std::string startRadio(std::vector<std::string> arguments) {
        arguments.push_back("--quiet");
        radios_.push_back(std::make_unique<RunningProcess>(simProgram(), arguments));
        RunningProcess& radio = *radios_.back();
        EXPECT_TRUE(radio.waitForOutput("\n")) << "the emulator did not start";
        std::string out = radio.output();
        return out.substr(0, out.find('\n'));
    }

    void writeSettings(const std::string& setup, const std::map<int, std::string>& ports) {
        std::string text = "[setup]\nlanguage=testlang\n" + setup + "[ports]\n";
        for (const auto& [number, device] : ports) {
            text += "COM" + std::to_string(number) + "=" + device + "\n";
        }
        writeFile(dir_ / "setting.ini", text);
    }

    std::string settingsText() const { return readFile(dir_ / "setting.ini"); }

    std::vector<std::unique_ptr<RunningProcess>> radios_;
};

}  // namespace qzm::test
