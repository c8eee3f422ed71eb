#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRect>
#include <QString>

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
    void dismiss();
    bool isOpen() const { return open_; }
    const QString& savedText() const { return savedText_; }
    // Selects the first entry that begins with `text`, ignoring case; no match
    // leaves the selection as it is.
    void selectStartingWith(const QString& text);
    // Entries are shown in upper case when set (the tone picker's style).
    void setUpperCase(bool upper) { upperCase_ = upper; }
    void addEntry(const QString& text);

  signals:
    void focusLost();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QPointer<QWidget> owner_;
    QString savedText_;
    bool open_ = false;
    bool upperCase_ = false;
};

class TonePicker : public FloatingPicker {
    Q_OBJECT

  public:
    using FloatingPicker::FloatingPicker;
    // The off text of the language, the CTCSS tones, the DCS codes.
    void fillToneList();
};

class ListPicker : public FloatingPicker {
    Q_OBJECT

  public:
    using FloatingPicker::FloatingPicker;
};

}  // namespace qzm
