// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/qt/channel_exchange_commands.h"

#include <QDir>

#include "exchange/channel_csv.h"
#include "exchange/chirp_csv.h"
#include "exchange/csv_input.h"
#include "exchange/import_preview.h"
#include "exchange/qt/import_preview_dialog.h"
#include "lang/text_lookup.h"
#include "platform/atomic_file.h"
#include "platform/file_dialog.h"
#include "platform/file_error_text.h"
#include "platform/placeholders.h"
#include "platform/qt/app_shell.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

// The order of the file types in both dialogs.
enum FileTypeIndex : std::size_t { kOwnTable = 0, kChirp = 1 };

FileDialogRequest channelListRequest(FileDialogMode mode, const CZavoDoc& document) {
    FileDialogRequest request;
    request.mode = mode;
    request.defaultExtension = ".csv";
    request.initialPath = document.pathName().parent_path();
    request.fileTypes = {{lookupText("IDS_FILETYPE_CHANNELS"), "*.csv"},
                         {lookupText("IDS_FILETYPE_CHIRP"), "*.csv"}};
    return request;
}

std::string filled(std::string_view key, std::vector<std::string> args) {
    return fillPlaceholders(lookupText(key), args);
}

void showError(AppShell& shell, const std::string& text) {
    shell.messageBox().show(text, lookupText("IDS_ERROR"),
                            {MessageIcon::Stop, MessageButtons::Ok, MessageOwner::MainWindow});
}

// Why the file `name` cannot be imported, in the window's language.
void showRefusal(AppShell& shell, const std::string& name, const CsvError& error) {
    showError(shell, filled("IDS_IMPORT_REFUSED",
                            {name, formatCsvMessage(name, error, currentLanguageTexts())}));
}

std::string displayName(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(QString::fromStdString(path.string())).toStdString();
}

}  // namespace

void importChannels(AppShell& shell, CZavoDoc& document) {
    const auto chosen =
        shell.fileDialog().chooseTyped(channelListRequest(FileDialogMode::Open, document));
    if (!chosen) {
        return;
    }
    const std::string name = displayName(chosen->path);
    // The same bounded, strict reading as the command line's.
    const CsvParseResult parsed = readCsvInput(chosen->path.string());
    if (parsed.error) {
        showRefusal(shell, name, *parsed.error);
        return;
    }
    const TextSource text = currentLanguageTexts();
    const RadioImage& base = document.image();
    ImportPreview preview;
    // A CHIRP header is unmistakable, so it wins over the type left selected.
    const bool chirpHeader = !parsed.records.empty() && isChirpHeader(parsed.records.front());
    if (chosen->fileType == kChirp || chirpHeader) {
        const ChirpImportResult result = importChirpRecords(parsed, base);
        if (result.error) {
            showRefusal(shell, name, *result.error);
            return;
        }
        preview = previewOfChirp(result, text);
    } else {
        const ChannelImportResult result = importChannelRecords(parsed, base);
        if (!result.image) {
            showRefusal(shell, name, *result.error);
            return;
        }
        preview = previewOfChannelTable(result, base, text);
    }
    ImportPreviewDialog dialog(preview, QString::fromStdString(name), shell.mainWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // One step, so a single Undo brings back the channels the import replaced.
    const bool chirp = chosen->fileType == kChirp || chirpHeader;
    document.change({chirp ? EditKind::ChirpImport : EditKind::CsvImport, 1},
                    [&] { document.image() = preview.image; });
    document.UpdateAllViews();
}

void exportChannels(AppShell& shell, CZavoDoc& document) {
    const auto chosen =
        shell.fileDialog().chooseTyped(channelListRequest(FileDialogMode::Save, document));
    if (!chosen) {
        return;
    }
    std::string csv;
    std::vector<ChirpIssue> notes;
    if (chosen->fileType == kChirp) {
        ChirpExportResult exported = exportChirpCsv(document.image());
        csv = std::move(exported.csv);
        notes = std::move(exported.notes);
    } else {
        csv = exportChannelsCsv(document.image());
    }
    const Status written = writeFileAtomically(chosen->path, csv);
    if (!written.ok()) {
        showError(shell,
                  filled("IDS_EXPORT_FAILED", {fileErrorText(written, currentLanguageTexts())}));
        return;
    }
    if (!notes.empty()) {
        std::string list;
        for (const ChirpIssue& note : notes) {
            list += "\n" + formatChirpIssue(lookupText(chirpIssueKey(note.kind)), note);
        }
        shell.messageBox().show(
            filled("IDS_EXPORT_LEFT_OUT", {list}), lookupText("IDS_PROMPT"),
            {MessageIcon::Exclamation, MessageButtons::Ok, MessageOwner::MainWindow});
    }
}

}  // namespace qzm
