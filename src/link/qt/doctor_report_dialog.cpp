// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/doctor_report_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "lang/text_lookup.h"
#include "platform/command_ids.h"

namespace qzm {

DoctorReportDialog::DoctorReportDialog(const QString& title, const QString& report, QWidget* parent)
    : QDialog(parent), view_(new QPlainTextEdit(this)) {
    setWindowTitle(title);
    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view_->setPlainText(report);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    // The OK caption every dialog takes from the language file.
    const std::string ok = resourceText(IDOK);
    if (!ok.empty()) {
        buttons->button(QDialogButtonBox::Ok)->setText(QString::fromStdString(ok));
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addWidget(buttons);
    const QFontMetrics metrics(view_->font());
    resize(metrics.horizontalAdvance(QLatin1Char('x')) * 90, metrics.lineSpacing() * 24);
}

}  // namespace qzm
