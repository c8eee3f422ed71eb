// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "platform/file_dialog.h"
#include "safety/backup_listing.h"

class QDialogButtonBox;
class QPushButton;
class QTableWidget;

namespace qzm {

// File > Open Backup: the kept backups as a table, newest first, with whole
// file names, date and time, kind, band and programmed channels.  A backup
// that cannot be read shows why and cannot be chosen.  OK or a double click
// opens the chosen one.
class OpenBackupDialog : public QDialog {
    Q_OBJECT

  public:
    // Columns of the table, left to right.
    enum Column { FileColumn, TimeColumn, KindColumn, BandColumn, ChannelsColumn, NoteColumn };

    // `bandNames`: the band list's texts (row = band index).
    OpenBackupDialog(std::vector<BackupListing> backups, std::vector<std::string> bandNames,
                     QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    QDialogButtonBox* buttons() const { return buttons_; }
    QPushButton* openButton() const { return openButton_; }
    // The backup of the current row, when it can be opened.
    std::optional<std::filesystem::path> chosen() const;

  private:
    void fill(const std::vector<std::string>& bandNames);
    void updateButtons();
    void fitToTable();

    std::vector<BackupListing> backups_;
    QTableWidget* table_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QPushButton* openButton_ = nullptr;
};

// The file dialog seam of Open Backup: the table above over the request's
// folder.
class OpenBackupChooser : public FileDialogSeam {
  public:
    explicit OpenBackupChooser(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    std::optional<std::filesystem::path> choose(const FileDialogRequest& request) override;

  private:
    QWidget* owner_;
};

}  // namespace qzm
