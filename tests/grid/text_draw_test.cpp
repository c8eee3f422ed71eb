// SPDX-License-Identifier: GPL-3.0-or-later
// Colour values and text drawing with the classic format flags.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "grid_test_support.h"
#include "platform/qt/colour.h"
#include "platform/qt/text_draw.h"

namespace qzm::test {
namespace {

TEST(Colour, ValuesAreBlueGreenRed) {
    EXPECT_EQ(rgbColour(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(toQColor(0x00563412u), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(fromQColor(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    EXPECT_FALSE(toQColor(DEFAULT_COLOUR).isValid());
}

TEST(Colour, SystemColoursFollowThePalette) {
    application();
    const QPalette original = QApplication::palette();
    QPalette palette = original;
    palette.setColor(QPalette::Active, QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(4, 5, 6));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(7, 8, 9));
    QApplication::setPalette(palette);
    EXPECT_EQ(systemColour(COLOR_WINDOW), rgbColour(1, 2, 3));
    EXPECT_EQ(systemColour(COLOR_GRAYTEXT), rgbColour(4, 5, 6));
    EXPECT_EQ(systemColour(COLOR_HIGHLIGHT), rgbColour(7, 8, 9));
    EXPECT_EQ(systemColour(999), 0u);
    QApplication::setPalette(original);
}

TEST(TextFormat, FlagsMapToQtLayout) {
    struct Case {
        std::uint32_t format;
        int flags;
    };
    const std::vector<Case> cases{
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE,
         Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic},
        {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX,
         Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine},
        // Vertical placement applies to single lines only, as it always has.
        {DT_VCENTER | DT_WORDBREAK | DT_NOPREFIX, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap},
        {DT_NOCLIP | DT_EXPANDTABS | DT_HIDEPREFIX, Qt::AlignLeft | Qt::AlignTop |
                                                        Qt::TextDontClip | Qt::TextExpandTabs |
                                                        Qt::TextHideMnemonic},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qtTextFlags(c.format), c.flags) << std::hex << c.format;
    }
}

TEST(TextFormat, CalcRectMeasuresWithoutDrawing) {
    application();
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QFontMetrics metrics(painter.font(), &image);

    QRect single(10, 10, 5, 5);
    const int height = drawText(painter, "A&&B", single, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(height, metrics.height());
    EXPECT_EQ(single.left(), 10);
    EXPECT_EQ(single.width(), metrics.horizontalAdvance("A&B"));

    QRect wrapped(0, 0, metrics.horizontalAdvance("word") + 2, 5);
    drawText(painter, "word word word", wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(wrapped.width(), metrics.horizontalAdvance("word") + 2) << "width kept";
    EXPECT_GE(wrapped.height(), 3 * metrics.height() - 3);
    painter.end();
    EXPECT_EQ(image.pixel(50, 50), qRgb(255, 255, 255)) << "nothing drawn";
}

TEST(TextFormat, CentredTextIsDrawnInTheMiddleAndClipped) {
    application();
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    QRect rect(0, 0, 200, 60);
    drawText(painter, "MMMM", rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    QRect clipped(0, 0, 20, 60);
    drawText(painter, "MMMMMMMMMMMMMMMMMMMM", clipped, DT_LEFT | DT_TOP | DT_SINGLELINE);
    painter.end();
    int left = 200, right = -1, top = 60, bottom = -1;
    for (int y = 0; y < 60; ++y) {
        for (int x = 30; x < 200; ++x) {
            if (QColor(image.pixel(x, y)).lightness() < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2, 100, 3);
    EXPECT_NEAR((top + bottom) / 2, 30, 4);
    for (int y = 0; y < 60; ++y) {
        EXPECT_GT(QColor(image.pixel(25, y)).lightness(), 128) << "clipped at the rectangle";
    }
}

}  // namespace
}  // namespace qzm::test
