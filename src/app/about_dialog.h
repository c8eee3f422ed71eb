// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace qzm {

// Dialog 100: program icon, version line and a line about the program.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace qzm
