// SPDX-License-Identifier: GPL-3.0-or-later
// What the grid paints, checked on rendered images.

#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>

#include "grid_test_support.h"

namespace qzm::test {
namespace {

QRgb rgbOf(Colour colour) {
    return toQColor(colour).rgb() | 0xFF000000u;
}

// Darkest pixel (by lightness) inside the rectangle.
int darkestLightness(const QImage& image, const QRect& area) {
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            darkest = std::min(darkest, QColor(image.pixel(x, y)).lightness());
        }
    }
    return darkest;
}

class GridPaint : public ::testing::Test {
  protected:
    // 4 rows x 3 columns of 30 x 50 pixels in a 300 x 200 client: room to the right and below.
    GridFixture f{4, 3, 30, 50, QSize(300, 200)};
    CGridCtrl& grid = *f.grid;
};

TEST_F(GridPaint, AreaBeyondTheCellsShowsTheOutsideColour) {
    grid.setOutsideColour(rgbColour(10, 20, 30));
    const QImage image = f.render();
    const QRgb outside = rgbOf(grid.outsideColour());
    EXPECT_EQ(image.pixel(150, 10), outside);   // right of the last column, header height
    EXPECT_EQ(image.pixel(299, 199), outside);  // bottom-right corner
    EXPECT_EQ(image.pixel(10, 120), outside);   // below the last row, under the row headers
    EXPECT_NE(image.pixel(149, 119), outside);  // last pixel of the last cell is a grid line
    EXPECT_EQ(image.pixel(149, 119), rgbOf(grid.gridLineColour()));
}

TEST_F(GridPaint, GridLinesFollowTheSetting) {
    struct Case {
        GridLines lines;
        bool vertical;
        bool horizontal;
    };
    for (const Case& c :
         {Case{GridLines::Both, true, true}, Case{GridLines::Vertical, true, false},
          Case{GridLines::Horizontal, false, true}, Case{GridLines::None, false, false}}) {
        grid.setGridLines(c.lines);
        grid.viewport()->update();
        const QImage image = f.render();
        const QRgb line = rgbOf(grid.gridLineColour());
        // Cell (1,1) spans x 50..99, y 30..59: its right and bottom pixels carry the lines.
        EXPECT_EQ(image.pixel(99, 40) == line, c.vertical) << static_cast<int>(c.lines);
        EXPECT_EQ(image.pixel(60, 59) == line, c.horizontal) << static_cast<int>(c.lines);
    }
}

TEST_F(GridPaint, FocusCellIsFramedAndItsHeadersRaised) {
    grid.moveFocus(2, 1);
    const QImage image = f.render();
    // Cell (2,1): x 50..99, y 60..89, framed in black inside its grid lines.
    EXPECT_EQ(image.pixel(50, 75), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(98, 75), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(75, 60), qRgb(0, 0, 0));
    const QRgb innerDark = rgbOf(systemColour(COLOR_BTNSHADOW));
    const QRgb face = rgbOf(grid.fixedBackColour());
    ASSERT_NE(innerDark, face);
    // Header of column 1 (x 50..99, y 0..29): a two-pixel raised edge; column 2's header
    // has the plain one-pixel border, so its second pixel from the right is face colour.
    EXPECT_EQ(image.pixel(98, 15), innerDark);
    EXPECT_EQ(image.pixel(148, 15), face);
    // Row header of row 2 (x 0..49, y 60..89) likewise; row 1's is plain.
    EXPECT_EQ(image.pixel(25, 88), innerDark);
    EXPECT_EQ(image.pixel(25, 58), face);
}

TEST_F(GridPaint, FocusCellWearsAHighlightRingWhileTheGridHasTheKeyboard) {
    grid.moveFocus(2, 1);
    QApplication::setActiveWindow(&f.host);
    grid.setFocus();
    ASSERT_TRUE(grid.hasFocus());
    const QRgb ring = rgbOf(systemColour(COLOR_HIGHLIGHT));
    QImage image = f.render();
    // Cell (2,1): x 50..99, y 60..89; the black frame, then the ring inside it.
    EXPECT_EQ(image.pixel(50, 75), qRgb(0, 0, 0));
    for (const QPoint p : {QPoint(51, 75), QPoint(97, 75), QPoint(75, 61), QPoint(75, 87)}) {
        EXPECT_EQ(image.pixel(p), ring) << p.x() << "," << p.y();
    }
    // Without the keyboard only the frame is left.
    grid.clearFocus();
    ASSERT_FALSE(grid.hasFocus());
    image = f.render();
    EXPECT_EQ(image.pixel(50, 75), qRgb(0, 0, 0));
    EXPECT_NE(image.pixel(51, 75), ring);
}

TEST_F(GridPaint, SelectedCellsAreHighlightedButTheFocusCellIsFramed) {
    grid.selectRange({1, 1, 1, 2});
    grid.moveFocus(1, 2);
    const QImage image = f.render();
    EXPECT_EQ(image.pixel(55, 35), rgbOf(systemColour(COLOR_HIGHLIGHT)));
    EXPECT_EQ(image.pixel(105, 35), rgbOf(grid.textBackColour()));
    EXPECT_EQ(image.pixel(100, 45), qRgb(0, 0, 0));
}

TEST_F(GridPaint, GreyedTextIsDrawnInTheGreyColour) {
    grid.setCellText(1, 1, QStringLiteral("MMMM"));
    grid.setCellText(1, 2, QStringLiteral("MMMM"));
    grid.setCellTextColour(1, 2, systemColour(COLOR_GRAYTEXT));
    const QImage image = f.render();
    const int normal = darkestLightness(image, QRect(52, 32, 46, 26));
    const int greyed = darkestLightness(image, QRect(102, 32, 46, 26));
    const int grey = toQColor(systemColour(COLOR_GRAYTEXT)).lightness();
    EXPECT_LT(normal, 40);
    EXPECT_GE(greyed, grey - 10);
    EXPECT_LT(greyed, 250);  // text is there at all
}

TEST_F(GridPaint, NothingIsDrawnInsideTheOverlayRectangle) {
    grid.moveFocus(2, 2);
    grid.requestEdit(2, 2, 1);  // the notification sets the overlay rectangle
    const QRect overlay = grid.overlayRect();
    ASSERT_EQ(overlay, QRect(100, 60, 50, 30));
    grid.setEditOverlay(true);
    grid.viewport()->update();
    QImage image = f.render();
    for (const QPoint& p : {overlay.topLeft(), overlay.center(), overlay.bottomRight()}) {
        EXPECT_EQ(image.pixel(p), GridFixture::kUntouched);
    }
    EXPECT_NE(image.pixel(overlay.left() - 1, overlay.top()), GridFixture::kUntouched);
    EXPECT_NE(image.pixel(overlay.right() + 1, overlay.bottom() + 1), GridFixture::kUntouched);

    grid.setEditOverlay(false);
    grid.viewport()->update();
    image = f.render();
    EXPECT_NE(image.pixel(overlay.center()), GridFixture::kUntouched);
}

TEST_F(GridPaint, OwnerColoursWinOverGridColours) {
    grid.setCellBackColour(1, 1, rgbColour(0, 0, 255));
    grid.setFixedBackColour(rgbColour(0, 255, 0));
    grid.setCellBackColour(0, 2, rgbColour(255, 0, 0));
    const QImage image = f.render();
    EXPECT_EQ(image.pixel(60, 35), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(60, 10), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(110, 10), qRgb(255, 0, 0));
}

TEST_F(GridPaint, PrintingLooksIgnoreFocusAndSelection) {
    grid.selectRange({1, 1, 1, 1});
    grid.moveFocus(2, 1);
    QImage image(400, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter dc(&image);
        grid.setForcePrinting(true);
        grid.printRow(dc, 1);
        dc.translate(0, 30);
        grid.printRow(dc, 2);
        grid.setForcePrinting(false);
    }
    EXPECT_NE(image.pixel(60, 5), rgbOf(systemColour(COLOR_HIGHLIGHT)));
    EXPECT_NE(image.pixel(50, 45), qRgb(255, 255, 255) & 0u);  // painted at all
    EXPECT_EQ(image.pixel(51, 45), rgbOf(grid.textBackColour()));
}

TEST(GridDemo, WritesAScreenshotOfADemoTable) {
    GridFixture f{17, 10, 21, 70, QSize(560, 300)};
    CGridCtrl& grid = *f.grid;
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid.setFrameShape(QFrame::StyledPanel);
    const QStringList titles{"CH",  "RX Freq", "TX Freq", "RX Tone", "TX Tone",
                             "W/N", "Power",   "Scan",    "BCL",     "Scramble"};
    for (int c = 0; c < titles.size(); ++c)
        grid.setCellText(0, c, titles[c]);
    grid.setRowHeight(0, 28);
    grid.setColumnWidth(0, 40);
    for (int r = 1; r < 17; ++r) {
        grid.setCellText(r, 0, QString::number(r));
        const bool programmed = r % 3 != 0;
        for (int c = 1; c < 10; ++c) {
            grid.setCellText(
                r, c, programmed ? QStringLiteral("%1.%2").arg(400 + r).arg(c * 125) : QString());
            if (!programmed && c > 1) {
                grid.setCellState(r, c, CELL_READONLY);
                grid.setCellTextColour(r, c, systemColour(COLOR_GRAYTEXT));
            }
        }
    }
    grid.setCellTextColour(2, 4, systemColour(COLOR_GRAYTEXT));
    grid.updateScrollBars();
    grid.moveFocus(4, 2);
    QApplication::processEvents();
    const QString path =
        QDir::cleanPath(QStringLiteral(QZM_TEST_PROGRAM_DIR) + QStringLiteral("/../grid-demo.png"));
    ASSERT_TRUE(grid.grab().save(path)) << path.toStdString();
}

}  // namespace
}  // namespace qzm::test
