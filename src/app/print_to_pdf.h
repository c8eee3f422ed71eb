// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

#include "app/zavo_app.h"

namespace qzm {

// `qzm836 --print-to-pdf OUT.pdf [FILE.836]`: the printed channel list of a
// data file (a new document without one) as a PDF, made offscreen, with no
// window shown and no question asked.

inline constexpr const char* kPrintToPdfOption = "--print-to-pdf";

// Exit codes of the PDF mode.
inline constexpr int kPdfWritten = 0;
inline constexpr int kPdfDataFileRefused = 1;  // or the program could not start
inline constexpr int kPdfUsageError = 2;
inline constexpr int kPdfNotWritten = 3;

struct PrintToPdfRequest {
    bool requested = false;  // the option is the first argument
    QString output;
    QString dataFile;    // empty: a new document
    QString usageError;  // set when the arguments do not fit
};

// Before QApplication exists: whether the program runs in PDF mode, so it
// can choose the offscreen platform (no display is needed).
bool printToPdfRequested(int argc, char** argv);

// The arguments after the program name.
PrintToPdfRequest parsePrintToPdf(const QStringList& arguments);

// Starts the application on `options` (its seams are replaced), prints and
// writes the file atomically.  Failures are one line on `errors`.
int runPrintToPdf(const PrintToPdfRequest& request, AppOptions options, std::ostream& errors);

}  // namespace qzm
