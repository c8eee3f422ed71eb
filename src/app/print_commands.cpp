// SPDX-License-Identifier: GPL-3.0-or-later
// The print commands: Print (with the print dialog), direct print, Print
// Preview and Print Setup, all on the application's one printer.
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

#include "app/main_frame.h"
#include "app/zavo_app.h"
#include "editor/qt/zavo_view.h"
#include "lang/text_lookup.h"
#include "platform/command_ids.h"
#include "radio/document_strings.h"

namespace qzm {
namespace {

constexpr int kOkButtonResource = 1;
constexpr int kCancelButtonResource = 2;

// The shared push-button captions of the language file.
void retitleButton(QPushButton* button, int resource, const char* builtIn) {
    if (button == nullptr) {
        return;
    }
    const std::string caption = resourceText(resource);
    button->setText(caption.empty() ? QString::fromLatin1(builtIn)
                                    : QString::fromStdString(caption));
}

// A menu caption as a window title: without its mnemonic and key.
QString titleFromMenuText(const std::string& caption) {
    QString title = QString::fromStdString(caption);
    title = title.left(title.indexOf(QLatin1Char('\t')));
    title.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    title.remove(QLatin1Char('&'));
    if (title.endsWith(QStringLiteral("..."))) {
        title.chop(3);
    }
    return title.trimmed();
}

}  // namespace

QPrinter& CZavoApp::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setDocName(QString::fromStdString(lookupText("IDS_WINDOWNAME")));
        printer_->setCreator(QString::fromStdString(applicationName()));
    }
    return *printer_;
}

void CZavoApp::registerPrintCommands() {
    CommandTable& commands = mainFrame_->commands();
    commands.set(ID_FILE_PRINT, [this] { onFilePrint(); });
    commands.set(ID_FILE_PRINT_DIRECT, [this] { onFilePrintDirect(); });
    commands.set(ID_FILE_PRINT_PREVIEW, [this] { onFilePrintPreview(); });
    commands.set(ID_FILE_PRINT_SETUP, [this] { onFilePrintSetup(); });
}

void CZavoApp::printPage(QPrinter& target) {
    if (view_ == nullptr || view_->printOn(target)) {
        return;
    }
    messageBox_->show(lookupText("IDS_ERROR_PRINT"), applicationName(),
                      {MessageIcon::Stop, MessageButtons::Ok, MessageOwner::MainWindow});
}

void CZavoApp::onFilePrint() {
    if (view_ == nullptr) {
        return;
    }
    QPrinter& target = printer();
    const int lastPage = view_->OnPreparePrinting();
    QPrintDialog dialog(&target, mainFrame_.get());
    dialog.setWindowTitle(titleFromMenuText(lookupText("Menu_File_Print")));
    dialog.setMinMax(1, lastPage);
    dialog.setFromTo(1, lastPage);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    printPage(target);
}

void CZavoApp::onFilePrintDirect() {
    printPage(printer());
}

void CZavoApp::onFilePrintPreview() {
    if (view_ == nullptr) {
        return;
    }
    QPrintPreviewDialog preview(&printer(), mainFrame_.get());
    preview.setWindowTitle(titleFromMenuText(lookupText("Menu_File_Print_Preview")));
    // One page at a time, as on paper.
    if (auto* pages = preview.findChild<QPrintPreviewWidget*>()) {
        pages->setViewMode(QPrintPreviewWidget::SinglePageView);
    }
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { printPage(*target); });
    preview.exec();
}

void CZavoApp::onFilePrintSetup() {
    // The print dialog chooses printer and page; here it only keeps the
    // choice in the application's printer, so its button says OK.
    QPrintDialog dialog(&printer(), mainFrame_.get());
    dialog.setWindowTitle(titleFromMenuText(lookupText("Menu_File_Print_Setup")));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        retitleButton(buttons->button(QDialogButtonBox::Ok), kOkButtonResource, "OK");
        retitleButton(buttons->button(QDialogButtonBox::Cancel), kCancelButtonResource, "Cancel");
    }
    dialog.exec();
}

}  // namespace qzm
