// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/dialog_builder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>
#include <algorithm>

namespace qzm {
namespace {

constexpr const char* kIdProperty = "qzmControlId";
constexpr const char* kOrderProperty = "qzmControlOrder";
constexpr const char* kStyleProperty = "qzmControlStyle";

int mulDivRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

bool hasStyle(std::uint32_t style, std::uint32_t bit) {
    return (style & bit) != 0;
}

// Labels show '&' literally in Qt; the templates use it as the mnemonic mark,
// so "&&" stands for one ampersand and a single '&' is dropped.
QString withoutMnemonic(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') {
                shown += u'&';
                ++i;
            }
            continue;
        }
        shown += caption[i];
    }
    return shown;
}

Qt::Alignment horizontalAlignment(std::uint32_t style) {
    if (hasStyle(style, ControlStyle::RightAligned)) {
        return Qt::AlignRight;
    }
    if (hasStyle(style, ControlStyle::Centered)) {
        return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

QWidget* makeStandardControl(const ControlTemplate& control, QWidget* parent) {
    const QString caption = QString::fromStdString(control.caption);
    switch (control.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(caption, parent);
            if (hasStyle(control.style, ControlStyle::DefaultButton)) {
                button->setDefault(true);
            }
            return button;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(horizontalAlignment(control.style) | Qt::AlignTop);
            label->setText(withoutMnemonic(caption));
            return label;
        }
        case ControlKind::GroupBox:
            return new QGroupBox(caption, parent);
        case ControlKind::CheckBox:
            return new QCheckBox(caption, parent);
        case ControlKind::RadioButton:
            return new QRadioButton(caption, parent);
        case ControlKind::DropDownList:
        case ControlKind::DropDown: {
            auto* list = new QComboBox(parent);
            list->setEditable(control.kind == ControlKind::DropDown);
            list->setInsertPolicy(QComboBox::NoInsert);
            return list;
        }
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(caption, parent);
            edit->setAlignment(horizontalAlignment(control.style) | Qt::AlignVCenter);
            return edit;
        }
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            return bar;
        }
        case ControlKind::Icon: {
            auto* icon = new QLabel(parent);
            icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
            return icon;
        }
        case ControlKind::Custom:
            break;
    }
    return new QWidget(parent);
}

// A closed list is one line high; the template height is that of the opened
// list, which sets how many entries it shows at once.
QRect placeList(QComboBox& list, QRect rect) {
    const int closedHeight = std::min(rect.height(), list.sizeHint().height());
    const int rowHeight = std::max(1, list.fontMetrics().height() + 2);
    list.setMaxVisibleItems(std::max(1, (rect.height() - closedHeight) / rowHeight));
    rect.setHeight(closedHeight);
    return rect;
}

}  // namespace

DialogUnits DialogUnits::fromFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width52 = metrics.horizontalAdvance(
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    return DialogUnits((width52 / 26 + 1) / 2, metrics.height());
}

int DialogUnits::toPixelsX(int units) const {
    return mulDivRounded(units, averageCharWidth_, 4);
}

int DialogUnits::toPixelsY(int units) const {
    return mulDivRounded(units, charHeight_, 8);
}

QRect DialogUnits::toPixels(const DialogUnitRect& rect) const {
    return {toPixelsX(rect.x), toPixelsY(rect.y), toPixelsX(rect.width), toPixelsY(rect.height)};
}

QSize DialogUnits::toPixels(DialogUnitSize size) const {
    return {toPixelsX(size.width), toPixelsY(size.height)};
}

void buildDialog(QWidget& host, const DialogTemplate& dialogTemplate,
                 const ControlFactory& factory) {
    const DialogUnits units = DialogUnits::fromFont(host.font());
    int order = static_cast<int>(controlsInOrder(&host).size());
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = factory ? factory(control, &host) : nullptr;
        if (widget == nullptr) {
            widget = makeStandardControl(control, &host);
        } else if (widget->parentWidget() != &host) {
            widget->setParent(&host);
        }
        widget->setProperty(kIdProperty, control.id);
        widget->setProperty(kOrderProperty, order++);
        widget->setProperty(kStyleProperty, control.style);
        QRect rect = units.toPixels(control.rect);
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            rect = placeList(*list, rect);
        }
        widget->setGeometry(rect);
        if (hasStyle(control.style, ControlStyle::Disabled)) {
            widget->setEnabled(false);
        }
        // A shown control of a dialog not yet on screen appears with the dialog.
        widget->setVisible(!hasStyle(control.style, ControlStyle::Hidden));
    }
    const QSize size = units.toPixels(dialogTemplate.size);
    if (host.isWindow()) {
        host.setFixedSize(size);
        host.setWindowTitle(QString::fromStdString(dialogTemplate.title));
    } else {
        host.resize(size);
        host.setMinimumSize(size);
    }
}

std::optional<int> controlId(const QWidget* widget) {
    if (widget == nullptr) {
        return std::nullopt;
    }
    const QVariant id = widget->property(kIdProperty);
    if (!id.isValid()) {
        return std::nullopt;
    }
    return id.toInt();
}

QWidget* findControl(const QWidget* dialog, int id) {
    if (dialog == nullptr) {
        return nullptr;
    }
    for (QObject* child : dialog->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && controlId(widget) == id) {
            return widget;
        }
    }
    return nullptr;
}

std::vector<QWidget*> controlsInOrder(const QWidget* dialog) {
    std::vector<QWidget*> controls;
    if (dialog == nullptr) {
        return controls;
    }
    for (QObject* child : dialog->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && widget->property(kOrderProperty).isValid()) {
            controls.push_back(widget);
        }
    }
    std::stable_sort(controls.begin(), controls.end(), [](const QWidget* a, const QWidget* b) {
        return a->property(kOrderProperty).toInt() < b->property(kOrderProperty).toInt();
    });
    return controls;
}

void setControlText(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(withoutMnemonic(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    } else if (auto* list = qobject_cast<QComboBox*>(control);
               list != nullptr && list->isEditable()) {
        list->setEditText(text);
    }
}

QString controlText(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
        return group->title();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text();
    }
    if (const auto* list = qobject_cast<const QComboBox*>(control)) {
        return list->currentText();
    }
    return {};
}

int addListEntry(QComboBox* list, const QString& text) {
    if (list == nullptr) {
        return -1;
    }
    const bool sorted = hasStyle(list->property(kStyleProperty).toUInt(), ControlStyle::Sorted);
    int position = list->count();
    if (sorted) {
        position = 0;
        while (position < list->count() &&
               QString::compare(list->itemText(position), text, Qt::CaseInsensitive) <= 0) {
            ++position;
        }
    }
    list->insertItem(position, text);
    return position;
}

}  // namespace qzm
