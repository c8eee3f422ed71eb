// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/message_box.h"

namespace qzm {

// Message boxes as Qt shows them.  Boxes owned by the main window are centred
// on it and block it; application boxes have no owner.
class QtMessageBox final : public MessageBoxSeam {
  public:
    explicit QtMessageBox(QWidget* mainWindow = nullptr) : mainWindow_(mainWindow) {}
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

    MessageResult show(const std::string& text, const std::string& caption,
                       MessageStyle style) override;

  private:
    QPointer<QWidget> mainWindow_;
};

}  // namespace qzm
