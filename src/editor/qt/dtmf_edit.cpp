// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/qt/dtmf_edit.h"

#include <QValidator>

namespace qzm {
namespace {

// A validator rather than a key filter, so pasted text is held to the same
// characters as typed text; Backspace and Delete always pass.
class DtmfValidator final : public QValidator {
  public:
    using QValidator::QValidator;

    State validate(QString& input, int& /*position*/) const override {
        for (const QChar character : input) {
            if (!DtmfEdit::isDtmfCharacter(character)) {
                return Invalid;
            }
        }
        return Acceptable;
    }
};

}  // namespace

DtmfEdit::DtmfEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new DtmfValidator(this));
}

bool DtmfEdit::isDtmfCharacter(QChar character) {
    const char16_t c = character.unicode();
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'D') || (c >= u'a' && c <= u'd');
}

void DtmfEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLost();
}

}  // namespace qzm
