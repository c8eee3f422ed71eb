// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/qt/dtmf_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

namespace qzm {
namespace {

// One key press per character, as a keyboard delivers it (also for
// characters that have no key code of their own).
void type(QWidget& widget, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(&widget, &press);
    }
}

TEST(DtmfEdit, KeepsOnlyCodeCharacters) {
    struct Case {
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {"0123456789", "0123456789"},
        {"ABCDabcd", "ABCDabcd"},
        {"1*2#3E-4 5", "12345"},  // star, hash, E, sign and blank are dropped
        {"éü９", ""},             // letters and digits outside ASCII too
    };
    for (const Case& c : cases) {
        DtmfEdit edit;
        type(edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.kept)) << c.typed;
    }
}

TEST(DtmfEdit, BackspacePassesAndPastedTextIsCheckedToo) {
    DtmfEdit edit;
    QTest::keyClicks(&edit, "12A");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "12");

    edit.insert("3#");  // what a paste does
    EXPECT_EQ(edit.text(), "12");
    edit.insert("3d");
    EXPECT_EQ(edit.text(), "123d");
}

TEST(DtmfEdit, ReportsTheLossOfTheFocus) {
    QWidget window;
    auto* edit = new DtmfEdit(&window);
    auto* other = new DtmfEdit(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    QSignalSpy lost(edit, &DtmfEdit::focusLost);
    other->setFocus();
    EXPECT_EQ(lost.count(), 1);
}

}  // namespace
}  // namespace qzm
