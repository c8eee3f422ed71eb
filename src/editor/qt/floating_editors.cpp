#include "editor/qt/floating_editors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include "editor/tone_tables.h"
#include "lang/text_lookup.h"
#include "platform/qt/dialog_builder.h"

namespace qzm {
namespace {

bool isEnterOrEscape(const QKeyEvent& event) {
    return event.key() == Qt::Key_Escape || event.key() == Qt::Key_Return ||
           event.key() == Qt::Key_Enter;
}

// Where the focus goes when the user ends an edit with Enter or Esc.
void handFocusBack(QWidget& editor, QWidget* owner) {
    QWidget* target = owner != nullptr ? owner : editor.parentWidget();
    if (target != nullptr) {
        target->setFocus(Qt::OtherFocusReason);
    }
}

// A focus change to the editor's own drop-down or to a menu is no end of the
// edit: the focus comes back when it closes.
bool endsEdit(const QFocusEvent& event) {
    return event.reason() != Qt::PopupFocusReason;
}

void showOver(QWidget& editor, const QRect& rect) {
    editor.setGeometry(rect);
    editor.setEnabled(true);
    editor.show();
    editor.raise();
}

}  // namespace

FrequencyEdit::FrequencyEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(kMaxCharacters);
    setAlignment(Qt::AlignCenter);
}

void FrequencyEdit::openAt(const QRect& rect, const QString& text) {
    setMaxLength(kMaxCharacters);
    showOver(*this, rect);
    setText(text);
    selectAll();
    savedText_ = text;
    open_ = true;
    setFocus(Qt::OtherFocusReason);
}

void FrequencyEdit::dismiss() {
    open_ = false;
    setEnabled(false);
    hide();
}

void FrequencyEdit::keyPressEvent(QKeyEvent* event) {
    if (isEnterOrEscape(*event)) {
        if (event->key() == Qt::Key_Escape) {
            setText(savedText_);
        }
        handFocusBack(*this, owner_);
    } else if (const QString typed = event->text(); typed.size() == 1 && typed[0].isPrint()) {
        const QChar c = typed[0];
        const bool digit = c >= u'0' && c <= u'9';
        const bool firstPoint = c == u'.' && !text().contains(u'.');
        if (!digit && !firstPoint) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void FrequencyEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (open_ && endsEdit(*event)) {
        emit focusLost();
    }
}

FloatingPicker::FloatingPicker(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
}

void FloatingPicker::selectStartingWith(const QString& text) {
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(text, Qt::CaseInsensitive)) {
            setCurrentIndex(i);
            return;
        }
    }
}

void FloatingPicker::addEntry(const QString& text) {
    addListEntry(this, upperCase_ ? text.toUpper() : text);
}

void FloatingPicker::openAt(const QRect& rect, const QString& text) {
    selectStartingWith(text);
    showOver(*this, rect);
    savedText_ = text;
    open_ = true;
    setFocus(Qt::OtherFocusReason);
}

void FloatingPicker::dismiss() {
    open_ = false;
    setEnabled(false);
    hide();
}

void FloatingPicker::keyPressEvent(QKeyEvent* event) {
    if (isEnterOrEscape(*event)) {
        if (event->key() == Qt::Key_Escape) {
            // Only the shown entry goes back; what a change already stored stays.
            selectStartingWith(savedText_);
        }
        handFocusBack(*this, owner_);
    }
    QComboBox::keyPressEvent(event);
}

void FloatingPicker::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // Opening the drop-down gives the focus to its list.
    QWidget* dropDown = view() != nullptr ? view()->window() : nullptr;
    QWidget* now = QApplication::focusWidget();
    const bool toDropDown =
        dropDown != nullptr && now != nullptr && (now == dropDown || dropDown->isAncestorOf(now));
    if (open_ && endsEdit(*event) && !toDropDown) {
        emit focusLost();
    }
}

void TonePicker::fillToneList() {
    clear();
    for (const std::string& entry : toneListEntries(lookupText("IDS_OFF"))) {
        addEntry(QString::fromStdString(entry));
    }
}

}  // namespace qzm
