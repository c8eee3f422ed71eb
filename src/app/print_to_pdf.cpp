// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/print_to_pdf.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "editor/qt/zavo_view.h"
#include "lang/text_lookup.h"
#include "platform/atomic_file.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"

namespace qzm {
namespace {

constexpr const char* kUsage = "usage: qzm836 --print-to-pdf OUT.pdf [FILE.836]";

// Nobody is there to answer: every message is kept for the error line, every
// question is cancelled, no file is chosen.
class CollectedMessages final : public MessageBoxSeam {
  public:
    MessageResult show(const std::string& text, const std::string&, MessageStyle style) override {
        texts.push_back(text);
        return style.buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Cancel;
    }
    std::vector<std::string> texts;
};

class NoFileDialog final : public FileDialogSeam {
  public:
    std::optional<std::filesystem::path> choose(const FileDialogRequest&) override {
        return std::nullopt;
    }
};

// A message box text on one line.
std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r' || c == '\t') {
            c = ' ';
        }
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

}  // namespace

bool printToPdfRequested(int argc, char** argv) {
    return argc > 1 && argv[1] != nullptr && std::strcmp(argv[1], kPrintToPdfOption) == 0;
}

PrintToPdfRequest parsePrintToPdf(const QStringList& arguments) {
    PrintToPdfRequest request;
    if (arguments.isEmpty() || arguments.front() != QLatin1String(kPrintToPdfOption)) {
        return request;
    }
    request.requested = true;
    if (arguments.size() < 2 || arguments.size() > 3 || arguments[1].isEmpty() ||
        (arguments.size() == 3 && arguments[2].isEmpty())) {
        request.usageError = QString::fromLatin1(kUsage);
        return request;
    }
    request.output = arguments[1];
    if (arguments.size() == 3) {
        request.dataFile = arguments[2];
    }
    return request;
}

int runPrintToPdf(const PrintToPdfRequest& request, AppOptions options, std::ostream& errors) {
    if (!request.usageError.isEmpty()) {
        errors << "qzm836: " << request.usageError.toStdString() << '\n';
        return kPdfUsageError;
    }
    CollectedMessages messages;
    NoFileDialog noFiles;
    options.messageBox = &messages;
    options.fileDialog = &noFiles;
    // Printing a card must not change the user's recent-file list.
    const QTemporaryDir scratch;
    options.recentFileStore = scratch.filePath(QStringLiteral("recent.ini"));

    CZavoApp app(std::move(options));
    QStringList arguments;
    if (!request.dataFile.isEmpty()) {
        arguments << request.dataFile;
    }
    const bool started = app.InitInstance(arguments);
    if (!started || !messages.texts.empty() || app.view() == nullptr) {
        std::string why = messages.texts.empty() ? std::string("the program could not start")
                                                 : oneLine(messages.texts.front());
        // Name the file unless the message already does.
        const std::string name =
            std::filesystem::path(request.dataFile.toStdString()).filename().string();
        if (!name.empty() && why.find(name) == std::string::npos) {
            why = "\"" + request.dataFile.toStdString() + "\": " + why;
        }
        errors << "qzm836: " << why << '\n';
        return kPdfDataFileRefused;
    }

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    bool drawn = false;
    {
        // The page of the application's printer, so a PDF from here matches
        // one printed to a file from the print dialog.
        QPdfWriter writer(&pdf);
        writer.setPageLayout(app.printer().pageLayout());
        writer.setResolution(app.printer().resolution());
        writer.setTitle(QString::fromStdString(lookupText("IDS_WINDOWNAME")));
        writer.setCreator(QString::fromStdString(app.applicationName()));
        drawn = app.view()->printOn(writer);
    }
    if (!drawn) {
        errors << "qzm836: the page could not be drawn for \"" << request.output.toStdString()
               << "\"\n";
        return kPdfNotWritten;
    }
    const QByteArray& bytes = pdf.data();
    const Status written =
        writeFileAtomically(request.output.toStdString(),
                            std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      static_cast<std::size_t>(bytes.size())));
    if (!written.ok()) {
        errors << "qzm836: " << oneLine(written.error().text) << '\n';
        return kPdfNotWritten;
    }
    return kPdfWritten;
}

}  // namespace qzm
