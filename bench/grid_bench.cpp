// SPDX-License-Identifier: GPL-3.0-or-later
// Paint cost of the grid: a full repaint and the repaint after a one-line scroll, for the
// editor's 17 x 10 table and a 1000 x 50 table, in an 800 pixel wide window.  "painted_px" is the
// area the grid actually repainted per iteration: after a line scroll it must be one row's strip,
// not the window.

#include <benchmark/benchmark.h>

#include <memory>

#include <QApplication>
#include <QWidget>

#include "grid/grid_ctrl.h"
#include "platform/qt/text_draw.h"

namespace {

constexpr int kClientWidth = 800;
constexpr int kRowHeight = 21;

QApplication& application() {
    static int argc = 1;
    static char name[] = "grid_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static QApplication app(argc, argv);
    return app;
}

struct Table {
    Table(int rows, int cols, int clientHeight) {
        grid = new qzm::CGridCtrl(&host);
        grid->setRowCount(rows);
        grid->setColumnCount(cols);
        grid->setFixedRowCount(1);
        grid->setFixedColumnCount(1);
        for (int r = 0; r < rows; ++r) {
            grid->setRowHeight(r, r == 0 ? 28 : kRowHeight);
            for (int c = 0; c < cols; ++c) {
                qzm::GridItem item;
                item.row = r;
                item.col = c;
                item.mask = qzm::ITEM_TEXT | qzm::ITEM_FORMAT;
                item.format = qzm::DT_CENTER | qzm::DT_VCENTER | qzm::DT_SINGLELINE;
                item.text = QStringLiteral("%1.%2").arg(400 + r).arg(c * 125);
                grid->writeItem(&item);
            }
        }
        for (int c = 0; c < cols; ++c)
            grid->setColumnWidth(c, c == 0 ? 40 : 90);
        host.resize(kClientWidth, clientHeight);
        grid->setGeometry(0, 0, kClientWidth, clientHeight);
        host.show();
        grid->updateScrollBars();
        grid->moveFocus(2, 2);
        flush();
    }
    void flush() { QApplication::processEvents(); }
    bool applicationReady = (application(), true);
    QWidget host;
    qzm::CGridCtrl* grid = nullptr;
};

void fullPaint(benchmark::State& state) {
    Table table(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                static_cast<int>(state.range(2)));
    table.grid->resetPaintedArea();
    for (auto _ : state) {
        table.grid->viewport()->repaint();
    }
    state.counters["painted_px"] = benchmark::Counter(
        static_cast<double>(table.grid->paintedArea()), benchmark::Counter::kAvgIterations);
    state.counters["client_px"] =
        table.grid->viewport()->width() * table.grid->viewport()->height();
}

void lineScroll(benchmark::State& state) {
    Table table(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                static_cast<int>(state.range(2)));
    table.grid->resetPaintedArea();
    bool down = true;
    for (auto _ : state) {
        // Down to the end and back up, one line at a time, each followed by its repaint.
        const int before = table.grid->scrollPosition(Qt::Vertical);
        table.grid->onVScroll(down ? qzm::SB_LINEDOWN : qzm::SB_LINEUP);
        if (table.grid->scrollPosition(Qt::Vertical) == before) {
            down = !down;
            table.grid->onVScroll(down ? qzm::SB_LINEDOWN : qzm::SB_LINEUP);
        }
        table.flush();
    }
    state.counters["painted_px"] = benchmark::Counter(
        static_cast<double>(table.grid->paintedArea()), benchmark::Counter::kAvgIterations);
    state.counters["strip_px"] = table.grid->viewport()->width() * kRowHeight;
    state.counters["client_px"] =
        table.grid->viewport()->width() * table.grid->viewport()->height();
}

}  // namespace

// Arguments: rows, columns, client height (the small table gets a client it overflows).
BENCHMARK(fullPaint)->Args({17, 10, 250})->Args({1000, 50, 600})->Unit(benchmark::kMicrosecond);
BENCHMARK(lineScroll)->Args({17, 10, 250})->Args({1000, 50, 600})->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
