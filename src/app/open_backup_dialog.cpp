// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/open_backup_dialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "lang/qt/ui_text.h"
#include "lang/text_lookup.h"
#include "platform/settings.h"

namespace qzm {
namespace {

QString fromUtf8(const std::string& value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

}  // namespace

OpenBackupDialog::OpenBackupDialog(std::vector<BackupListing> backups,
                                   std::vector<std::string> bandNames, QWidget* parent)
    : QDialog(parent), backups_(std::move(backups)) {
    setWindowTitle(uiText("IDS_OPEN_BACKUP"));
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(this);
    table_->setColumnCount(NoteColumn + 1);
    table_->setHorizontalHeaderLabels({uiText("IDS_BACKUP_COL_FILE"), uiText("IDS_BACKUP_COL_TIME"),
                                       uiText("IDS_BACKUP_COL_KIND"), uiText("IDS_BACKUP_COL_BAND"),
                                       uiText("IDS_BACKUP_COL_CHANNELS"),
                                       uiText("IDS_BACKUP_COL_NOTE")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideNone);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setAccessibleName(uiText("IDS_OPEN_BACKUP"));
    layout->addWidget(table_);

    buttons_ = new QDialogButtonBox(this);
    openButton_ =
        buttons_->addButton(uiText("IDS_BACKUP_BUTTON_OPEN"), QDialogButtonBox::AcceptRole);
    openButton_->setDefault(true);
    buttons_->addButton(uiText("IDS_BACKUP_BUTTON_CANCEL"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
        if (chosen()) {
            accept();
        }
    });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        table_->selectRow(row);
        if (chosen()) {
            accept();
        }
    });
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { updateButtons(); });

    fill(bandNames);
    fitToTable();
    updateButtons();
}

void OpenBackupDialog::fill(const std::vector<std::string>& bandNames) {
    table_->setRowCount(static_cast<int>(backups_.size()));
    int firstOpenable = -1;
    for (std::size_t i = 0; i < backups_.size(); ++i) {
        const BackupListing& backup = backups_[i];
        const int row = static_cast<int>(i);
        QString band;
        QString channels;
        if (backup.canOpen()) {
            const auto index = static_cast<std::size_t>(backup.bandIndex);
            band = backup.bandIndex >= 0 && index < bandNames.size()
                       ? fromUtf8(bandNames[index])
                       : QString::number(backup.bandIndex);
            channels = QString::number(backup.programmedChannels);
            if (firstOpenable < 0) {
                firstOpenable = row;
            }
        }
        const QString cells[] = {fromUtf8(backup.entry.path.filename().string()),
                                 fromUtf8(backup.entry.displayTime()),
                                 uiText(backupKindKey(backup.entry.kind)),
                                 band,
                                 channels,
                                 fromUtf8(backup.problem)};
        for (int column = 0; column <= NoteColumn; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column == ChannelsColumn) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            if (!backup.canOpen()) {
                // Shown with its reason, but never chosen.
                item->setFlags(Qt::NoItemFlags);
                item->setToolTip(fromUtf8(backup.problem));
            }
            table_->setItem(row, column, item);
        }
    }
    if (firstOpenable >= 0) {
        table_->selectRow(firstOpenable);
    }
}

void OpenBackupDialog::fitToTable() {
    table_->resizeColumnsToContents();
    // Whole names: the table asks for every column's full width, as far as
    // the screen allows (beyond that it scrolls, never cuts).
    int width = 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < table_->columnCount(); ++column) {
        width += table_->columnWidth(column);
    }
    const int rows = std::min(table_->rowCount(), 12);
    int height = 2 * table_->frameWidth() + table_->horizontalHeader()->sizeHint().height() +
                 rows * table_->verticalHeader()->defaultSectionSize() +
                 table_->horizontalScrollBar()->sizeHint().height();
    QSize wanted(width, height);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    }
    table_->setMinimumSize(wanted.boundedTo(QSize(width, height)));
    adjustSize();
}

void OpenBackupDialog::updateButtons() {
    openButton_->setEnabled(chosen().has_value());
}

std::optional<std::filesystem::path> OpenBackupDialog::chosen() const {
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    const auto row = static_cast<std::size_t>(selected.front()->row());
    if (row >= backups_.size() || !backups_[row].canOpen()) {
        return std::nullopt;
    }
    return backups_[row].entry.path;
}

std::optional<std::filesystem::path> OpenBackupChooser::choose(const FileDialogRequest& request) {
    OpenBackupDialog dialog(listBackups(BackupStore(request.initialPath), currentLanguageTexts()),
                            readBandNames(settingsPath()), owner_);
    if (!request.title.empty()) {
        dialog.setWindowTitle(fromUtf8(request.title));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosen();
}

}  // namespace qzm
