// SPDX-License-Identifier: GPL-3.0-or-later
// qzm836: the programming tool of the QZM-836 radio.
#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/print_to_pdf.h"
#include "app/program_info.h"
#include "app/stop_signals.h"
#include "app/toolbar_icons.h"
#include "app/zavo_app.h"

int main(int argc, char** argv) {
    // --version and --help need no display.
    if (const auto info = qzm::programInfoText(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(info->c_str(), stdout);
        return 0;
    }
    // The PDF mode shows no window, so it needs no display.
    const bool pdfMode = qzm::printToPdfRequested(argc, argv);
    if (pdfMode) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Scripts read one line on stderr: Qt's own notes stay out of it.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(qzm::RecentFileList::kApplication);
    QApplication::setOrganizationName(qzm::RecentFileList::kOrganisation);
    QApplication::setWindowIcon(qzm::programIcon());
    qzm::installWindowStopSignals();
    QGuiApplication::setDesktopFileName(QString::fromLatin1(qzm::kDesktopId));

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (pdfMode) {
        return qzm::runPrintToPdf(qzm::parsePrintToPdf(arguments), {}, std::cerr);
    }

    qzm::CZavoApp zavo;
    if (!zavo.InitInstance(arguments)) {
        return 1;
    }
    return QApplication::exec();
}
