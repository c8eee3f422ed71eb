// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <filesystem>
#include <optional>

class QTextBrowser;

namespace qzm {

// The help page in a small window of the program's own, for a desktop that
// cannot open it (no browser launcher, no viewer for the file type).
class HelpViewer : public QDialog {
    Q_OBJECT

  public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Shows the page for `helpFile` (see builtInHelpPage) and brings the window
    // up; a help file without a page it can show is named instead.
    void showHelp(const std::filesystem::path& helpFile);
    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_ = nullptr;
};

// What the built-in viewer shows for a help file: the file itself when it is
// an HTML page, else the HTML page of the same name beside it, if there is one.
std::optional<std::filesystem::path> builtInHelpPage(const std::filesystem::path& helpFile);

}  // namespace qzm
