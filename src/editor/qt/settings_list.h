// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

namespace qzm {

// A drop-down list of the settings panel: pick only, entries in the order
// they were added.  The mouse wheel changes the entry only while the list has
// the keyboard focus; over any other list it scrolls the window as usual, so
// moving the wheel across the panel never changes a setting by accident.
class SettingsList : public QComboBox {
    Q_OBJECT

  public:
    explicit SettingsList(QWidget* parent = nullptr);

  protected:
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace qzm
