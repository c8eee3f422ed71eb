// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace qzm {

// The DTMF code field: takes only the characters a code can hold (0-9, A-D,
// a-d), typed or pasted; every other character is dropped.  Reports the loss
// of the keyboard focus, which is when the form stores the code.
class DtmfEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit DtmfEdit(QWidget* parent = nullptr);

    static bool isDtmfCharacter(QChar character);

  signals:
    void focusLost();

  protected:
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace qzm
