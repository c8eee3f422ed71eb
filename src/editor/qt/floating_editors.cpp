// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/qt/floating_editors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <algorithm>

#include "editor/tone_tables.h"
#include "lang/text_lookup.h"
#include "platform/qt/dialog_builder.h"
#include "radio/value_codecs.h"

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
    } else if (const QString typed = event->text();
               typed.size() == 1 && typed[0].isPrint() &&
               // Ctrl and Alt keys are the field's commands (undo, cut, paste), not text.
               (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0) {
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

int FloatingPicker::addEntry(const QString& text) {
    return addListEntry(this, upperCase_ ? text.toUpper() : text);
}

void FloatingPicker::openAt(const QRect& rect, const QString& text) {
    selectStartingWith(text);
    showOpen(rect, text);
}

void FloatingPicker::showOpen(const QRect& rect, const QString& text) {
    showOver(*this, rect);
    savedText_ = text;
    openedIndex_ = currentIndex();
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
            if (openedIndex_ >= 0 && openedIndex_ < count()) {
                setCurrentIndex(openedIndex_);
            } else {
                selectStartingWith(savedText_);
            }
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
    tones_.clear();
    storedEntry_ = -1;
    for (const std::string& entry : toneListEntries(lookupText("IDS_OFF"))) {
        // The off text is the translator's: "Desactivado" must not parse as D023N.
        tones_.push_back(tones_.empty() ? kToneOff : parseTone(entry));
        addEntry(QString::fromStdString(entry));
    }
}

void TonePicker::removeStoredEntry() {
    if (storedEntry_ >= 0 && storedEntry_ < count()) {
        removeItem(storedEntry_);
        tones_.erase(tones_.begin() + storedEntry_);
    }
    storedEntry_ = -1;
}

void TonePicker::openOnTone(const QRect& rect, const ToneBytes& stored, const QString& storedText) {
    removeStoredEntry();
    const auto found = std::find(tones_.begin(), tones_.end(), stored);
    int index = static_cast<int>(found - tones_.begin());
    if (found == tones_.end()) {
        index = addEntry(storedText);
        tones_.insert(tones_.begin() + index, stored);
        storedEntry_ = index;
    }
    setCurrentIndex(index);
    showOpen(rect, storedText);
}

std::optional<ToneBytes> TonePicker::selectedTone() const {
    const int index = currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= tones_.size()) {
        return std::nullopt;
    }
    return tones_[static_cast<std::size_t>(index)];
}

void TonePicker::dismiss() {
    FloatingPicker::dismiss();
    removeStoredEntry();
}

}  // namespace qzm
