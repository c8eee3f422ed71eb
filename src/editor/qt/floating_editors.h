// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

#include "radio/field_bytes.h"

namespace qzm {

// The small editors the form lays over a channel cell.  Each is closed (hidden
// and disabled) until openAt, and reports the loss of the keyboard focus, which
// is where the form stores what was entered.  Enter and Esc hand the focus to
// the owner (the grid), or to the parent form when there is no owner.

// Frequency cells: digits and a single point, at most 9 characters.
class FrequencyEdit : public QLineEdit {
    Q_OBJECT

  public:
    static constexpr int kMaxCharacters = 9;

    explicit FrequencyEdit(QWidget* parent = nullptr);

    void setOwnerWindow(QWidget* owner) { owner_ = owner; }
    void openAt(const QRect& rect, const QString& text);
    // Closes the editor without storing anything.
    void dismiss();
    bool isOpen() const { return open_; }
    const QString& savedText() const { return savedText_; }

  signals:
    void focusLost();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QPointer<QWidget> owner_;
    QString savedText_;
    bool open_ = false;
};

// A pick-only list over a cell: the tone picker and the yes/no picker.
class FloatingPicker : public QComboBox {
    Q_OBJECT

  public:
    explicit FloatingPicker(QWidget* parent = nullptr);

    void setOwnerWindow(QWidget* owner) { owner_ = owner; }
    void openAt(const QRect& rect, const QString& text);
    virtual void dismiss();
    bool isOpen() const { return open_; }
    const QString& savedText() const { return savedText_; }
    // Selects the first entry that begins with `text`, ignoring case; no match
    // leaves the selection as it is.
    void selectStartingWith(const QString& text);
    // Entries are shown in upper case when set (the tone picker's style).
    void setUpperCase(bool upper) { upperCase_ = upper; }
    // The position the entry took.
    int addEntry(const QString& text);

  signals:
    void focusLost();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Shows the picker over `rect` with its current selection and gives it the
    // focus; Esc comes back to that selection.
    void showOpen(const QRect& rect, const QString& text);

  private:
    QPointer<QWidget> owner_;
    QString savedText_;
    int openedIndex_ = -1;
    bool open_ = false;
    bool upperCase_ = false;
};

class TonePicker : public FloatingPicker {
    Q_OBJECT

  public:
    using FloatingPicker::FloatingPicker;
    // The off text of the language, the CTCSS tones, the DCS codes.
    void fillToneList();
    // Opens on the stored tone's entry.  A tone the list does not hold (read
    // from a radio or a file) gets an entry of its own with `storedText` for as
    // long as the picker is open, so it is shown and closing the picker without
    // a pick gives it back unchanged.
    void openOnTone(const QRect& rect, const ToneBytes& stored, const QString& storedText);
    // The tone of the selected entry; the first entry is off whatever the
    // language calls it.  Nothing when no entry is selected.
    std::optional<ToneBytes> selectedTone() const;
    void dismiss() override;

  private:
    void removeStoredEntry();

    std::vector<ToneBytes> tones_;  // one per entry, in list order
    int storedEntry_ = -1;          // the extra entry of an unlisted tone
};

class ListPicker : public FloatingPicker {
    Q_OBJECT

  public:
    using FloatingPicker::FloatingPicker;
};

}  // namespace qzm
