// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the grid tests: the application object, a host window that records
// what the grid tells its owner, and a filled demo table.

#include <vector>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "grid/grid_ctrl.h"
#include "platform/qt/text_draw.h"

namespace qzm::test {

// The test program's application object (made by the shared GUI test main()), with the
// style the pixel checks were written against.
inline QApplication& application() {
    static const bool styled = [] {
        QApplication::setStyle(QStringLiteral("Fusion"));
        return true;
    }();
    (void)styled;
    return *qApp;
}

// Listed first among the bases of a widget, so the application exists before it.
struct WithApplication {
    WithApplication() { application(); }
};

// The window the grid lives in; it records notifications and posted commands.
class GridHost : private WithApplication, public QWidget, public GridOwner {
  public:
    int onGridNotify(const GridNotify& notify) override {
        notifications.push_back(notify);
        return 0;
    }
    void onGridCommand(int controlId, CGridCtrl* grid) override {
        commands.push_back(controlId);
        (void)grid;
    }
    std::vector<int> codes() const {
        std::vector<int> result;
        for (const GridNotify& each : notifications)
            result.push_back(each.header.code);
        return result;
    }
    std::vector<GridNotify> notifications;
    std::vector<int> commands;
};

inline constexpr std::uint32_t kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// A grid of `rows` x `cols` with one fixed row and column, every row `rowHeight` and every
// column `colWidth` pixels, texts "r,c" and headers, in a host of the given client size.
struct GridFixture {
    GridFixture(int rows, int cols, int rowHeight, int colWidth, QSize client) {
        application();
        grid = new CGridCtrl(&host);
        grid->setControlId(1016);
        grid->setFrameShape(QFrame::NoFrame);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setRowCount(rows);
        grid->setColumnCount(cols);
        grid->setFixedRowCount(1);
        grid->setFixedColumnCount(1);
        for (int r = 0; r < rows; ++r)
            grid->setRowHeight(r, rowHeight);
        for (int c = 0; c < cols; ++c)
            grid->setColumnWidth(c, colWidth);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                GridItem item;
                item.row = r;
                item.col = c;
                item.mask = ITEM_TEXT | ITEM_FORMAT;
                item.format = kCentred;
                item.text = QStringLiteral("%1,%2").arg(r).arg(c);
                grid->writeItem(&item);
            }
        }
        host.resize(client);
        grid->setGeometry(QRect(QPoint(0, 0), client));
        host.show();
        grid->updateScrollBars();
        notifications().clear();
    }
    std::vector<GridNotify>& notifications() { return host.notifications; }
    // The viewport painted over a magenta canvas: pixels the grid leaves alone stay magenta.
    QImage render() {
        QApplication::processEvents();
        QImage image(grid->viewport()->size(), QImage::Format_RGB32);
        image.fill(kUntouched);
        grid->viewport()->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        return image;
    }
    static constexpr QRgb kUntouched = 0xFFFF00FFu;
    GridHost host;
    CGridCtrl* grid = nullptr;
};

}  // namespace qzm::test
