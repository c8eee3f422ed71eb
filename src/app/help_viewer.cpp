// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_viewer.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <system_error>

#include "lang/text_lookup.h"

namespace qzm {
namespace {

constexpr int kViewerWidth = 640;
constexpr int kViewerHeight = 480;

bool isHtml(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    return extension == ".html" || extension == ".htm";
}

}  // namespace

std::optional<std::filesystem::path> builtInHelpPage(const std::filesystem::path& helpFile) {
    if (isHtml(helpFile)) {
        return helpFile;
    }
    std::filesystem::path page = helpFile;
    page.replace_extension(".html");
    std::error_code error;
    if (std::filesystem::is_regular_file(page, error)) {
        return page;
    }
    return std::nullopt;
}

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent) {
    setObjectName("helpViewer");
    setModal(false);
    browser_ = new QTextBrowser(this);
    // Links to the web go to the desktop; links between help pages stay here.
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(kViewerWidth, kViewerHeight);
}

void HelpViewer::showHelp(const std::filesystem::path& helpFile) {
    setWindowTitle(QString::fromStdString(lookupTextOr("IDS_HELP_TITLE", "Help")));
    if (const auto page = builtInHelpPage(helpFile)) {
        browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(page->string())));
    } else {
        QString text = QString::fromStdString(
            lookupTextOr("IDS_HELP_NOT_SHOWN", "The help file %1 cannot be shown here."));
        text.replace(QStringLiteral("%1"), QString::fromStdString(helpFile.string()));
        browser_->setPlainText(text);
    }
    show();
    raise();
    activateWindow();
}

}  // namespace qzm
