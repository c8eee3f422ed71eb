// SPDX-License-Identifier: GPL-3.0-or-later
// qzm836-sim: a QZM-836 radio on a pseudo-terminal, for trying the programming tool
// without a radio and for the tests and benchmarks.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/program_version.h"
#include "radio/data_file.h"
#include "radio_emulator.h"
#include "sim_options.h"

int main(int argc, char** argv) {
    using namespace qzm::sim;
    std::string error;
    const auto options = parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "qzm836-sim: %s\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(simHelpText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(qzm::versionText("qzm836-sim").c_str(), stdout);
        return 0;
    }
    EmulatorConfig config = options->config;
    if (!options->imagePath.empty()) {
        const qzm::LoadedDataFile file = qzm::loadDataFile(options->imagePath);
        if (file.status == qzm::LoadStatus::FileError) {
            std::fprintf(stderr, "qzm836-sim: %s\n", file.errorText.c_str());
            return 1;
        }
        if (file.status == qzm::LoadStatus::NotADataFile) {
            std::fprintf(stderr, "qzm836-sim: %s is not a QZM-836 data file\n",
                         options->imagePath.c_str());
            return 1;
        }
        config.image = file.contents.image;
    }

    // Signals are taken synchronously below, never in a handler.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    RadioEmulator radio(config);
    radio.setVerbose(!options->quiet);
    if (!radio.start(error)) {
        std::fprintf(stderr, "qzm836-sim: %s\n", error.c_str());
        return 1;
    }
    std::error_code code;
    if (!options->linkPath.empty()) {
        if (std::filesystem::is_symlink(options->linkPath, code)) {
            std::filesystem::remove(options->linkPath, code);
        }
        std::filesystem::create_symlink(radio.slavePath(), options->linkPath, code);
        if (code) {
            std::fprintf(stderr, "qzm836-sim: cannot make the link %s: %s\n",
                         options->linkPath.c_str(), code.message().c_str());
            return 1;
        }
    }
    std::printf("%s\n", radio.slavePath().c_str());
    std::fflush(stdout);

    const timespec tick{0, 200'000'000};
    while (!radio.hungUp()) {
        if (sigtimedwait(&signals, nullptr, &tick) > 0) {
            break;
        }
    }
    radio.stop();
    if (!options->linkPath.empty()) {
        std::filesystem::remove(options->linkPath, code);
    }
    return 0;
}
