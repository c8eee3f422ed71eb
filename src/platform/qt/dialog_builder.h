// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Turns a DialogTemplate (dialog_template.h) into widgets and finds them again
// by control id.  See dialog_template.h for an example.

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "platform/qt/dialog_template.h"

class QComboBox;

namespace qzm {

// Dialog units to pixels for one font.
class DialogUnits {
  public:
    // Base units of the font: the average width of the 52 letters a-z A-Z
    // (rounded) and the character height.
    static DialogUnits fromFont(const QFont& font);
    DialogUnits(int averageCharWidth, int charHeight)
        : averageCharWidth_(averageCharWidth), charHeight_(charHeight) {}

    int averageCharWidth() const { return averageCharWidth_; }
    int charHeight() const { return charHeight_; }

    int toPixelsX(int units) const;  // units * average char width / 4, rounded
    int toPixelsY(int units) const;  // units * char height / 8, rounded
    QRect toPixels(const DialogUnitRect& rect) const;
    QSize toPixels(DialogUnitSize size) const;

  private:
    int averageCharWidth_;
    int charHeight_;
};

// Makes the widget for one control, or returns nullptr to let the builder make
// the standard one.  The builder then places it, gives it its id and style.
using ControlFactory = std::function<QWidget*(const ControlTemplate&, QWidget* parent)>;

// Builds the template's controls as children of `host`, in template order,
// each carrying its control id; sizes `host` to the template (fixed size for
// a top-level dialog) and sets the template title on a top-level window.
// Units come from host's font.
void buildDialog(QWidget& host, const DialogTemplate& dialogTemplate,
                 const ControlFactory& factory = {});

// The control id a widget carries, if it is a control of a built dialog.
std::optional<int> controlId(const QWidget* widget);

// The direct child of `dialog` with that control id, or nullptr.
QWidget* findControl(const QWidget* dialog, int id);
template <class Widget>
Widget* findControl(const QWidget* dialog, int id) {
    return qobject_cast<Widget*>(findControl(dialog, id));
}

// The controls of `dialog` in creation order (unaffected by raise()/lower()).
std::vector<QWidget*> controlsInOrder(const QWidget* dialog);

// Sets or reads a control's caption (button, label, group box, edit field).
// Lists, progress bars and plain widgets have no caption: setting does
// nothing there, reading gives the current entry of a list.
void setControlText(QWidget* control, const QString& text);
QString controlText(const QWidget* control);

// Adds an entry to a list and returns its position; a list built with
// ControlStyle::Sorted inserts it in sorted place (case ignored).
int addListEntry(QComboBox* list, const QString& text);

}  // namespace qzm
