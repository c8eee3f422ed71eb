// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/qt/guarded_list.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>

namespace qzm {
namespace {

class StrayChoiceFilter final : public QObject {
  public:
    explicit StrayChoiceFilter(QComboBox& list) : QObject(&list), list_(list) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &list_) {
            return false;
        }
        if (event->type() == QEvent::Wheel) {
            return true;
        }
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Escape:
            case Qt::Key_Space:
            case Qt::Key_F4:
                return false;
            case Qt::Key_Down:
            case Qt::Key_Up:
                // Alt+Down opens the list as usual; a bare arrow does nothing.
                return (key->modifiers() & Qt::AltModifier) == 0;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                list_.showPopup();
                return true;
            default:
                // Letters and the other movement keys would choose an entry.
                return key->modifiers() == Qt::NoModifier ||
                       key->modifiers() == Qt::ShiftModifier ||
                       key->modifiers() == Qt::KeypadModifier;
        }
    }

  private:
    QComboBox& list_;
};

}  // namespace

void guardAgainstStrayChoice(QComboBox& list) {
    list.installEventFilter(new StrayChoiceFilter(list));
}

}  // namespace qzm
