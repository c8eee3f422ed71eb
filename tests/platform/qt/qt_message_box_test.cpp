// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace qzm {
namespace {

// Answers the box that is about to open with `button` (or Escape when none).
void answerNextBox(QMessageBox::StandardButton button, QMessageBox::Icon* icon, QWidget** owner) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *icon = box->icon();
        *owner = box->parentWidget();
        if (button == QMessageBox::NoButton) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(button)->click();
        }
    });
}

TEST(QtMessageBox, MapsStylesAndAnswers) {
    QWidget mainWindow;
    QtMessageBox messages(&mainWindow);
    struct Case {
        MessageStyle style;
        QMessageBox::StandardButton click;
        MessageResult expected;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {{MessageIcon::Stop, MessageButtons::Ok, MessageOwner::Application},
         QMessageBox::Ok,
         MessageResult::Ok,
         QMessageBox::Critical},
        {{MessageIcon::Exclamation, MessageButtons::OkCancel, MessageOwner::MainWindow},
         QMessageBox::Cancel,
         MessageResult::Cancel,
         QMessageBox::Warning},
        {{MessageIcon::Exclamation, MessageButtons::OkCancel, MessageOwner::MainWindow},
         QMessageBox::NoButton,
         MessageResult::Cancel,
         QMessageBox::Warning},
        {{MessageIcon::Question, MessageButtons::YesNoCancel, MessageOwner::MainWindow},
         QMessageBox::No,
         MessageResult::No,
         QMessageBox::Question},
        {{MessageIcon::Question, MessageButtons::YesNoCancel, MessageOwner::MainWindow},
         QMessageBox::Yes,
         MessageResult::Yes,
         QMessageBox::Question},
        {{MessageIcon::Stop, MessageButtons::Ok, MessageOwner::MainWindow},
         QMessageBox::NoButton,
         MessageResult::Ok,
         QMessageBox::Critical},
    };
    for (const Case& c : cases) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QWidget* owner = nullptr;
        answerNextBox(c.click, &icon, &owner);
        EXPECT_EQ(messages.show("text", "caption", c.style), c.expected);
        EXPECT_EQ(icon, c.icon);
        EXPECT_EQ(owner, c.style.owner == MessageOwner::MainWindow ? &mainWindow : nullptr);
    }
}

}  // namespace
}  // namespace qzm
