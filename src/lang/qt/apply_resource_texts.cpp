// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/qt/apply_resource_texts.h"

#include <QWidget>

#include "lang/text_lookup.h"
#include "platform/qt/dialog_builder.h"

namespace qzm {

void applyResourceTexts(QWidget* dialog, int dialogId) {
    if (dialog == nullptr) {
        return;
    }
    if (const std::string title = resourceText(dialogId); !title.empty()) {
        dialog->setWindowTitle(QString::fromStdString(title));
    }
    for (QWidget* control : controlsInOrder(dialog)) {
        const std::optional<int> id = controlId(control);
        if (!id) {
            continue;
        }
        if (const std::string caption = resourceText(*id); !caption.empty()) {
            setControlText(control, QString::fromStdString(caption));
        }
    }
}

}  // namespace qzm
