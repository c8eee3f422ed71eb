// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/qt/import_preview_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "lang/qt/ui_text.h"
#include "lang/text_lookup.h"
#include "platform/command_ids.h"

namespace qzm {
namespace {

constexpr std::array<std::string_view, 9> kColumnKeys{
    "IDS_IMPORT_COL_LINE",    "IDS_IMPORT_COL_LOCATION", "IDS_IMPORT_COL_CHANNEL",
    "IDS_IMPORT_COL_OUTCOME", "IDS_IMPORT_COL_RX",       "IDS_IMPORT_COL_RXTONE",
    "IDS_IMPORT_COL_TX",      "IDS_IMPORT_COL_TXTONE",   "IDS_IMPORT_COL_REMARKS"};

QString buttonText(int id, const QString& fallback) {
    const std::string caption = resourceText(id);
    return caption.empty() ? fallback : QString::fromStdString(caption);
}

}  // namespace

ImportPreviewDialog::ImportPreviewDialog(const ImportPreview& preview, const QString& fileName,
                                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ImportPreviewDialog"));
    setWindowTitle(uiText("IDS_IMPORT_TITLE"));
    auto* layout = new QVBoxLayout(this);

    auto* summary =
        new QLabel(uiText("IDS_IMPORT_SUMMARY",
                          {fileName, QString::number(preview.taken),
                           QString::number(preview.repaired), QString::number(preview.skipped)}),
                   this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    layout->addWidget(summary);

    table_ = new QTableWidget(static_cast<int>(preview.rows.size()),
                              static_cast<int>(kColumnKeys.size()), this);
    QStringList titles;
    for (std::string_view key : kColumnKeys) {
        titles << uiText(key);
    }
    table_->setHorizontalHeaderLabels(titles);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    int r = 0;
    for (const ImportPreviewRow& row : preview.rows) {
        const std::array<const std::string*, 9> cells{
            &row.line,   &row.location,    &row.channel, &row.outcomeText, &row.rxFrequency,
            &row.rxTone, &row.txFrequency, &row.txTone,  &row.remarks};
        for (std::size_t c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(*cells[c]));
            item->setToolTip(item->text());  // a long remark may be cut by the column
            if (row.outcome == ChirpOutcome::Skipped) {
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            }
            table_->setItem(r, static_cast<int>(c), item);
        }
        ++r;
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_, 1);
    // Wide enough for every column where the screen allows, so remarks are read whole.
    int tableWidth = 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < table_->columnCount(); ++c) {
        tableWidth += table_->columnWidth(c);
    }

    for (const std::string& note : preview.notes) {
        auto* label = new QLabel(QString::fromStdString(note), this);
        label->setObjectName(QStringLiteral("note"));
        label->setWordWrap(true);
        layout->addWidget(label);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(buttonText(IDOK, QStringLiteral("OK")));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(buttonText(IDCANCEL, QStringLiteral("Cancel")));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(preview.taken + preview.repaired > 0);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(std::clamp(tableWidth + 24, 640, 1100), 420);
}

}  // namespace qzm
