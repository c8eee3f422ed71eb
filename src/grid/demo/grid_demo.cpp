// SPDX-License-Identifier: GPL-3.0-or-later
// griddemo: the grid in a real window.  A 40 x 12 table with headers; a click or Enter
// opens a line edit over the cell (the owner's part of editing), Enter or a click
// elsewhere stores the text.  Every notification is shown in the status line.
// `griddemo --screenshot FILE` writes a picture of an edit in progress and ends.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "grid/grid_ctrl.h"
#include "platform/qt/text_draw.h"

namespace {

class DemoWindow : public QWidget, public qzm::GridOwner {
  public:
    DemoWindow() {
        setWindowTitle(QStringLiteral("griddemo"));
        auto* layout = new QVBoxLayout(this);
        grid_ = new qzm::CGridCtrl(this);
        grid_->setControlId(1016);
        status_ = new QLabel(this);
        layout->addWidget(grid_);
        layout->addWidget(status_);
        fill();
        editor_ = new QLineEdit(this);
        editor_->hide();
        connect(editor_, &QLineEdit::editingFinished, this, [this] { commit(); });
        resize(720, 420);
    }

    int onGridNotify(const qzm::GridNotify& notify) override {
        const char* name = notify.header.code == qzm::GN_FOCUS_ENTER   ? "focus enter"
                           : notify.header.code == qzm::GN_FOCUS_LEAVE ? "focus leave"
                                                                       : "edit request";
        status_->setText(QStringLiteral("%1 (%2, %3) \"%4\"")
                             .arg(QLatin1String(name))
                             .arg(notify.item.row)
                             .arg(notify.item.col)
                             .arg(notify.item.text));
        if (notify.header.code == qzm::GN_EDIT_REQUEST) {
            edited_ = {notify.item.row, notify.item.col};
            grid_->setEditOverlay(true);
            editor_->setGeometry(QRect(mapFromGlobal(notify.rect.topLeft()), notify.rect.size()));
            editor_->setText(notify.item.text);
            editor_->show();
            editor_->raise();
            editor_->setFocus();
            editor_->selectAll();
        }
        return 0;
    }

    // Shows an edit in progress and writes the window to `path` (for looking at offscreen).
    bool screenshot(const QString& path) {
        grid_->moveFocus(5, 2);
        grid_->requestEdit(5, 2, 1);
        editor_->setText(QStringLiteral("typed"));
        QApplication::processEvents();
        return grab().save(path);
    }

  private:
    void fill() {
        constexpr std::uint32_t centred = qzm::DT_CENTER | qzm::DT_VCENTER | qzm::DT_SINGLELINE;
        grid_->setRowCount(41);
        grid_->setColumnCount(13);
        grid_->setFixedRowCount(1);
        grid_->setFixedColumnCount(1);
        for (int r = 0; r < grid_->rowCount(); ++r) {
            for (int c = 0; c < grid_->columnCount(); ++c) {
                qzm::GridItem item;
                item.row = r;
                item.col = c;
                item.mask = qzm::ITEM_TEXT | qzm::ITEM_FORMAT;
                item.format = centred;
                item.text = r == 0   ? (c == 0 ? QString() : QStringLiteral("Col %1").arg(c))
                            : c == 0 ? QString::number(r)
                                     : QStringLiteral("%1.%2").arg(r * c).arg(r % 10);
                grid_->writeItem(&item);
            }
            if (r > 0 && r % 4 == 0) {
                grid_->setCellState(r, 3, qzm::CELL_READONLY);
                grid_->setCellTextColour(r, 3, qzm::systemColour(qzm::COLOR_GRAYTEXT));
            }
        }
        grid_->setColumnWidth(0, 40);
        grid_->updateScrollBars();
    }

    void commit() {
        if (!editor_->isVisible()) {
            return;
        }
        grid_->setCellText(edited_.row, edited_.col, editor_->text());
        editor_->hide();
        grid_->setEditOverlay(false);
        grid_->invalidateRow(edited_.row);
        grid_->setFocus();
    }

    qzm::CGridCtrl* grid_ = nullptr;
    QLabel* status_ = nullptr;
    QLineEdit* editor_ = nullptr;
    qzm::CellId edited_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    DemoWindow window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    const qsizetype option = arguments.indexOf(QStringLiteral("--screenshot"));
    if (option > 0 && option + 1 < arguments.size()) {
        return window.screenshot(arguments[option + 1]) ? 0 : 1;
    }
    return QApplication::exec();
}
