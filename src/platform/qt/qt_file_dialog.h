// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/file_dialog.h"

namespace qzm {

// File dialogs as Qt shows them, owned by the main window.
class QtFileDialog final : public FileDialogSeam {
  public:
    explicit QtFileDialog(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    std::optional<std::filesystem::path> choose(const FileDialogRequest& request) override;
    std::optional<FileChoice> chooseTyped(const FileDialogRequest& request) override;

  private:
    QPointer<QWidget> owner_;
};

}  // namespace qzm
