// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "exchange/import_preview.h"

class QTableWidget;

namespace qzm {

// The outcome of every row of an import, shown before anything changes.  OK
// is offered only when at least one row would be taken.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT

  public:
    ImportPreviewDialog(const ImportPreview& preview, const QString& fileName,
                        QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }

  private:
    QTableWidget* table_ = nullptr;
};

}  // namespace qzm
