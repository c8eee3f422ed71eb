// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/tab_order.h"

#include <algorithm>
#include <vector>

#include <QWidget>

namespace qzm {

void orderTabsByPosition(QWidget& dialog) {
    struct Placed {
        QRect rect;
        QWidget* widget;
    };
    std::vector<Placed> placed;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (widget->window() == &dialog && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
            widget->focusProxy() == nullptr) {
            placed.push_back({QRect(widget->mapTo(&dialog, QPoint(0, 0)), widget->size()), widget});
        }
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.rect.top() < b.rect.top(); });
    // A control whose middle lies beside the row's first one joins that row.
    std::vector<std::vector<Placed>> rows;
    for (const Placed& each : placed) {
        if (!rows.empty() && each.rect.center().y() <= rows.back().front().rect.bottom()) {
            rows.back().push_back(each);
        } else {
            rows.push_back({each});
        }
    }
    QWidget* previous = nullptr;
    for (auto& row : rows) {
        std::stable_sort(row.begin(), row.end(), [](const Placed& a, const Placed& b) {
            return a.rect.left() < b.rect.left();
        });
        for (const Placed& each : row) {
            if (previous == nullptr) {
                // The first control takes the focus when the dialog opens.
                each.widget->setFocus();
            } else {
                QWidget::setTabOrder(previous, each.widget);
            }
            previous = each.widget;
        }
    }
}

}  // namespace qzm
