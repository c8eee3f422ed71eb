#include "cli/chirp_commands.h"

#include <cstdio>

#include "cli/exit_codes.h"
#include "cli/messages.h"
#include "exchange/chirp_csv.h"

namespace qzm::cli {
namespace {

std::string issueText(const ChirpIssue& issue) {
    return formatChirpIssue(chirpIssueEnglish(issue.kind), issue);
}

// "in.csv:4: Location 3: repaired as channel 3: Frequency ... stored ...".
std::string rowLine(const std::string& name, const ChirpRow& row) {
    std::string line = name + ":" + std::to_string(row.line) + ": Location " +
                       (row.location.empty() ? "(empty)" : row.location) + ": ";
    switch (row.outcome) {
        case ChirpOutcome::Taken:
            line += "taken as channel " + std::to_string(row.channel);
            break;
        case ChirpOutcome::Repaired:
            line += "repaired as channel " + std::to_string(row.channel);
            break;
        case ChirpOutcome::Skipped:
            line += "skipped";
            break;
    }
    const char* separator = ": ";
    for (const auto& issue : row.issues) {
        line += separator + issueText(issue);
        separator = "; ";
    }
    return line;
}

}  // namespace

int importChirp(const CliOptions& options, DocumentFile& document, std::string_view csv,
                const std::string& name) {
    const ChirpImportResult imported =
        importChirpCsv(csv, document.image, ChirpImportOptions{options.renumber});
    if (imported.error) {
        std::fprintf(stderr, "%s:%zu: %s\n", name.c_str(), imported.error->line,
                     imported.error->message.c_str());
        return kExitFileError;
    }
    for (const auto& row : imported.rows) {
        std::printf("%s\n", rowLine(name, row).c_str());
    }
    if (imported.namesDropped) {
        std::printf("%s: names and comments have no place in this radio and were not taken\n",
                    name.c_str());
    }
    const std::size_t skipped = imported.count(ChirpOutcome::Skipped);
    std::printf("%s: %zu taken, %zu repaired, %zu skipped\n", name.c_str(),
                imported.count(ChirpOutcome::Taken), imported.count(ChirpOutcome::Repaired),
                skipped);
    std::fflush(stdout);
    if (options.strict && skipped > 0) {
        printError(name + ": refused because " + std::to_string(skipped) +
                   (skipped == 1 ? " row was" : " rows were") + " skipped (--strict)");
        return kExitFileError;
    }
    document.image = imported.image;
    return kExitSuccess;
}

std::string exportChirp(const DocumentFile& document) {
    ChirpExportResult exported = exportChirpCsv(document.image);
    for (const auto& note : exported.notes) {
        printError("note: " + issueText(note));
    }
    return std::move(exported.csv);
}

}  // namespace qzm::cli
