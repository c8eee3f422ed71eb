// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace qzm {

// Shows the connection doctor's report as selectable text, so a user can copy it into
// a question to a forum or a colleague.
class DoctorReportDialog : public QDialog {
    Q_OBJECT

  public:
    DoctorReportDialog(const QString& title, const QString& report, QWidget* parent = nullptr);

    QPlainTextEdit* reportView() const { return view_; }

  private:
    QPlainTextEdit* view_;
};

}  // namespace qzm
