// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_checks.h"

#include <algorithm>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>

namespace qzm::test {
namespace {

std::string describe(const QWidget& widget) {
    QString caption;
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        caption = button->text();
    } else if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        caption = label->text();
    }
    if (caption.isEmpty()) {
        caption = widget.accessibleName();
    }
    if (caption.isEmpty()) {
        caption = widget.objectName();
    }
    return std::string(widget.metaObject()->className()) + " \"" + caption.toStdString() + "\"";
}

// The room a caption has: a label's contents, a check box's width past its
// indicator, a push button's width less its margins.
int roomFor(const QWidget& widget) {
    if (qobject_cast<const QCheckBox*>(&widget) != nullptr ||
        qobject_cast<const QRadioButton*>(&widget) != nullptr) {
        const QStyle* style = widget.style();
        return widget.width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &widget) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &widget);
    }
    if (qobject_cast<const QAbstractButton*>(&widget) != nullptr) {
        return widget.width() -
               widget.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &widget);
    }
    return widget.contentsRect().width();
}

bool takesTab(const QWidget& widget, const QWidget& dialog) {
    if (&widget == &dialog || widget.window() != &dialog || !widget.isVisibleTo(&dialog) ||
        !widget.isEnabled() || (widget.focusPolicy() & Qt::TabFocus) != Qt::TabFocus ||
        widget.focusProxy() != nullptr) {
        return false;
    }
    // Of a group of exclusive radio buttons Tab visits the checked one only.
    if (const auto* radio = qobject_cast<const QRadioButton*>(&widget)) {
        return radio->isChecked() || !radio->autoExclusive();
    }
    return true;
}

}  // namespace

std::vector<std::string> cutCaptions(const QWidget& dialog) {
    std::vector<std::string> faults;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        QString caption;
        if (const auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->wordWrap() || label->textFormat() == Qt::RichText) {
                continue;
            }
            caption = label->text();
        } else if (const auto* button = qobject_cast<QAbstractButton*>(widget)) {
            caption = button->text();
        }
        if (caption.isEmpty() || !widget->isVisibleTo(&dialog)) {
            continue;
        }
        caption.remove(u'&');
        int needed = 0;
        for (const QString& line : caption.split(u'\n')) {
            needed = std::max(needed, widget->fontMetrics().horizontalAdvance(line));
        }
        if (needed > roomFor(*widget)) {
            faults.push_back(describe(*widget) + " needs " + std::to_string(needed) + " px, has " +
                             std::to_string(roomFor(*widget)));
        }
    }
    return faults;
}

std::vector<std::string> tabChain(QWidget& dialog) {
    // Tab goes round in a circle; it starts where the focus is.
    std::vector<const QWidget*> circle;
    for (QWidget* each = dialog.nextInFocusChain(); each != nullptr && each != &dialog;
         each = each->nextInFocusChain()) {
        if (std::find(circle.begin(), circle.end(), each) != circle.end()) {
            break;
        }
        if (takesTab(*each, dialog)) {
            circle.push_back(each);
        }
    }
    const QWidget* focus = dialog.focusWidget();
    const auto start = std::find(circle.begin(), circle.end(), focus);
    if (start != circle.end()) {
        std::rotate(circle.begin(), start, circle.end());
    }
    std::vector<std::string> chain;
    for (const QWidget* each : circle) {
        chain.push_back(describe(*each));
    }
    return chain;
}

std::vector<std::string> layoutOrder(QWidget& dialog) {
    struct Placed {
        QRect rect;
        const QWidget* widget;
    };
    std::vector<Placed> placed;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (takesTab(*widget, dialog)) {
            placed.push_back({QRect(widget->mapTo(&dialog, QPoint(0, 0)), widget->size()), widget});
        }
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.rect.top() < b.rect.top(); });
    // A control whose middle lies beside the row's first one joins that row.
    std::vector<std::vector<Placed>> rows;
    for (const Placed& each : placed) {
        if (!rows.empty()) {
            const QRect& first = rows.back().front().rect;
            if (each.rect.center().y() <= first.bottom()) {
                rows.back().push_back(each);
                continue;
            }
        }
        rows.push_back({each});
    }
    std::vector<std::string> order;
    for (auto& row : rows) {
        std::stable_sort(row.begin(), row.end(), [](const Placed& a, const Placed& b) {
            return a.rect.left() < b.rect.left();
        });
        for (const Placed& each : row) {
            order.push_back(describe(*each.widget));
        }
    }
    return order;
}

}  // namespace qzm::test
