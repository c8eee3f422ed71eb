// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "cli/backup_commands.h"
#include "cli/cli_environment.h"
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/interrupt.h"
#include "cli/messages.h"
#include "link/transfer.h"
#include "platform/program_version.h"

namespace {

int run(int argc, char** argv) {
    using namespace qzm::cli;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.options) {
        printError(parsed.error);
        std::string hint =
            parsed.command == Command::None
                ? std::string(kProgramName) + " --help"
                : std::string(kProgramName) + " " + commandName(parsed.command) + " --help";
        std::fprintf(stderr, "Try '%s' for more information.\n", hint.c_str());
        return kExitUsage;
    }
    // Only the test suite sets this, for a busy machine; the radio's time-outs hold otherwise.
    if (const char* scale = std::getenv("QZM_TEST_ANSWER_TIMEOUT_SCALE")) {
        qzm::setAnswerTimeoutScaleForTests(std::atoi(scale));
    }
    const CliOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(usageText(options.command).c_str(), stdout);
        return kExitSuccess;
    }
    if (options.version) {
        std::fputs(qzm::versionText(kProgramName).c_str(), stdout);
        return kExitSuccess;
    }
    const qzm::Result<CliEnvironment> found =
        findEnvironment(options.settingsFile, options.languageName);
    if (!found) {
        printError(found.error().text);
        return kExitFileError;
    }
    const CliEnvironment& environment = found.value();
    const auto& languagePath = environment.languagePath;
    std::error_code missing;
    if (!std::filesystem::is_regular_file(languagePath, missing)) {
        // The run goes on, as the program's does, but with every text "Not Found".
        printError("warning: no language file " + languagePath.string() +
                   (environment.languageNote.empty() ? std::string()
                                                     : " (" + environment.languageNote + ")") +
                   "; messages are in English, other texts read \"Not Found\"");
    }
    if (options.command == Command::Clone) {
        return runCloneCommand(options, environment);
    }
    if (options.command == Command::Backups) {
        return runBackupsCommand(environment);
    }
    if (options.command == Command::Read || options.command == Command::Write ||
        options.command == Command::Restore) {
        return runTransferCommand(options, environment);
    }
    if (options.command == Command::Diff) {
        return runDiffCommand(options, environment);
    }
    if (options.command == Command::Doctor) {
        return runDoctorCommand(options, environment);
    }
    return runFileCommand(options, environment);
}

}  // namespace

int main(int argc, char** argv) {
    qzm::cli::ignoreBrokenPipes();
    // Inputs are bounded, but no shortage of memory may end the run without a word.
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        qzm::cli::printError("out of memory");
        return qzm::cli::kExitFileError;
    }
}
