// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/chirp_commands.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "cli/exit_codes.h"
#include "cli/messages.h"
#include "exchange/channel_fields.h"
#include "exchange/chirp_csv.h"

namespace qzm::cli {
namespace {

std::string issueText(const ChirpIssue& issue) {
    return formatChirpIssue(chirpIssueEnglish(issue.kind), issue);
}

// A number as it is, anything else quoted and cut, so junk cannot garble the terminal.
std::string shownLocation(const std::string& location) {
    const bool number = !location.empty() && location.size() <= 6 &&
                        location.find_first_not_of("0123456789") == std::string::npos;
    return number ? location : quotedForMessage(location);
}

// "in.csv:4: Location 3: repaired as channel 3: Frequency ... stored ...".
std::string rowLine(const std::string& name, const ChirpRow& row) {
    std::string line =
        name + ":" + std::to_string(row.line) + ": Location " + shownLocation(row.location) + ": ";
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

// Why no row was taken: each distinct reason once, with how many rows it stopped.
std::string nothingTakenReasons(const ChirpImportResult& imported) {
    if (imported.rows.empty()) {
        return "no rows after the header";
    }
    std::vector<std::pair<std::string, std::size_t>> reasons;
    for (const auto& row : imported.rows) {
        const std::string why = row.issues.empty() ? "skipped" : issueText(row.issues.front());
        auto known = std::find_if(reasons.begin(), reasons.end(),
                                  [&](const auto& reason) { return reason.first == why; });
        if (known == reasons.end()) {
            reasons.emplace_back(why, 1);
        } else {
            ++known->second;
        }
    }
    std::string text = "every row was skipped";
    const char* separator = ": ";
    for (const auto& [why, count] : reasons) {
        text += separator + why + " (" + std::to_string(count) + (count == 1 ? " row)" : " rows)");
        separator = "; ";
    }
    return text;
}

}  // namespace

int importChirp(const CliOptions& options, DocumentFile& document, const CsvParseResult& parsed,
                const std::string& name) {
    const ChirpImportResult imported =
        importChirpRecords(parsed, document.image, ChirpImportOptions{options.renumber});
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
    if (imported.count(ChirpOutcome::Taken) + imported.count(ChirpOutcome::Repaired) == 0) {
        printError(name + ": nothing could be taken: " + nothingTakenReasons(imported));
        return kExitFileError;
    }
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
