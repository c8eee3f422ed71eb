// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_message_box.h"

#include <QMessageBox>

namespace qzm {
namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageResult QtMessageBox::show(const std::string& text, const std::string& caption,
                                 MessageStyle style) {
    QWidget* owner = style.owner == MessageOwner::MainWindow ? mainWindow_.data() : nullptr;
    QMessageBox box(qtIcon(style.icon), QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    switch (style.buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MessageButtons::OkCancelDefaultCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            return MessageResult::Ok;
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        default:
            break;
    }
    // Closing the box any other way counts as its escape answer.
    return style.buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Cancel;
}

}  // namespace qzm
