// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/messages.h"
#include "link/doctor_report_text.h"

namespace qzm::cli {

int runDoctorCommand(const CliOptions&, const CliEnvironment& environment) {
    const LanguageTexts texts(environment.languagePath);
    const DoctorReport report = diagnoseConnection(environment.settingsPath, DoctorRoots{},
                                                   UserIdentity::current(), ::getpid());
    const std::string out = formatDoctorReport(report, texts.source());
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        printError("cannot write to standard output");
        return kExitFileError;
    }
    return report.hasProblem() ? kExitDifferent : kExitSuccess;
}

}  // namespace qzm::cli
