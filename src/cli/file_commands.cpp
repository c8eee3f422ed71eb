// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>

#include "cli/chirp_commands.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/file_io.h"
#include "cli/messages.h"
#include "cli/show_document.h"
#include "exchange/channel_csv.h"
#include "exchange/channel_fields.h"
#include "exchange/chirp_csv.h"
#include "exchange/csv_input.h"

namespace qzm::cli {
namespace {

bool writeStandardOutput(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
           std::fflush(stdout) == 0;
}

// Our own channel table; a value whose bytes hold no valid value is written as
// "damaged" and named on standard error, so nobody mistakes it for a value.
std::string exportOwnCsv(const DocumentFile& document) {
    ChannelCsvExport exported = exportChannelTable(document.image);
    for (const auto& value : exported.damaged) {
        printError("note: channel " + std::to_string(value.channel) + ": " + value.column +
                   " holds no valid value (its bytes read " + quotedForMessage(value.shown) +
                   "); written as '" + std::string(kDamagedValue) + "'");
    }
    return std::move(exported.csv);
}

// Whether anything follows the header but empty rows.
bool hasRowAfterHeader(const CsvParseResult& parsed) {
    for (std::size_t r = 1; r < parsed.records.size(); ++r) {
        if (!isBlankRecord(parsed.records[r])) {
            return true;
        }
    }
    return false;
}

int runNew(const CliOptions& options) {
    return saveOrReport(options.operands[0], newDocument(options.bandIndex)) ? kExitSuccess
                                                                             : kExitFileError;
}

int runShow(const CliOptions& options, const CliEnvironment& environment,
            const LanguageTexts& texts) {
    auto document = loadOrReport(options.operands[0], texts);
    if (!document) {
        return kExitFileError;
    }
    if (!writeStandardOutput(showDocument(document->image, texts, environment.settingsPath))) {
        printError("cannot write to standard output");
        return kExitFileError;
    }
    // A warning only: the table is printed and the exit code is that of a sound show.
    const std::string warning = damagedValuesWarning(document->image, texts);
    if (!warning.empty()) {
        printError(warning);
    }
    return kExitSuccess;
}

int runExport(const CliOptions& options, const LanguageTexts& texts) {
    auto document = loadOrReport(options.operands[0], texts);
    if (!document) {
        return kExitFileError;
    }
    const std::string csv =
        options.format == ChannelFormat::Chirp ? exportChirp(*document) : exportOwnCsv(*document);
    if (options.operands.size() < 2 || options.operands[1] == "-") {
        if (!writeStandardOutput(csv)) {
            printError("cannot write to standard output");
            return kExitFileError;
        }
        return kExitSuccess;
    }
    const std::string& out = options.operands[1];
    if (auto error = replaceFile(out, csv)) {
        printError(*error);
        return kExitFileError;
    }
    return kExitSuccess;
}

int runImport(const CliOptions& options, const LanguageTexts& texts) {
    const std::string& source = options.operands[0];
    const std::string& csvPath = options.operands[1];
    const std::string& out = options.operands[2];
    auto document = loadOrReport(source, texts);
    if (!document) {
        return kExitFileError;
    }
    const CsvParseResult parsed = readCsvInput(csvPath);
    if (parsed.error) {
        std::fprintf(stderr, "%s\n", formatCsvMessage(csvPath, *parsed.error).c_str());
        return kExitFileError;
    }
    const std::string name = csvInputName(csvPath);
    const ChannelFormat format = options.format.value_or(
        !parsed.records.empty() && isChirpHeader(parsed.records.front()) ? ChannelFormat::Chirp
                                                                         : ChannelFormat::Own);
    if (format == ChannelFormat::Chirp) {
        const int status = importChirp(options, *document, parsed, name);
        if (status != kExitSuccess) {
            return status;
        }
        return saveOrReport(out, *document) ? kExitSuccess : kExitFileError;
    }
    if (options.renumber) {
        printError(name + ": '--renumber' applies to the chirp format only");
        return kExitUsage;
    }
    ChannelImportResult imported = importChannelRecords(parsed, document->image);
    if (!imported.image) {
        std::fprintf(stderr, "%s\n", formatCsvMessage(csvPath, *imported.error).c_str());
        return kExitFileError;
    }
    if (!hasRowAfterHeader(parsed)) {
        printError(name + ": nothing could be taken: no channel rows after the header");
        return kExitFileError;
    }
    for (const auto& note : imported.notes) {
        std::fprintf(stderr, "%s\n",
                     formatCsvMessage(csvPath, {note.line, "note: " + note.message}).c_str());
    }
    document->image = *imported.image;
    return saveOrReport(out, *document) ? kExitSuccess : kExitFileError;
}

}  // namespace

int runFileCommand(const CliOptions& options, const CliEnvironment& environment) {
    const LanguageTexts texts(environment.languagePath);
    switch (options.command) {
        case Command::New:
            return runNew(options);
        case Command::Show:
            return runShow(options, environment, texts);
        case Command::Export:
            return runExport(options, texts);
        case Command::Import:
            return runImport(options, texts);
        default:
            return kExitUsage;
    }
}

}  // namespace qzm::cli
