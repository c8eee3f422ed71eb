#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/messages.h"

namespace qzm::cli {

int runTransferCommand(const CliOptions& options, const CliEnvironment& environment) {
    (void)environment;
    printError("'" + commandName(options.command) +
               "' is not available in this build: the radio link is not built in yet");
    return kExitUsage;
}

}  // namespace qzm::cli
