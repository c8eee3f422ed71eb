// SPDX-License-Identifier: GPL-3.0-or-later
// The printed channel list: the date line, the settings block and the
// programmed channels, taken from the form's controls and the grid's cells,
// so paper always reads like the screen.

#include <QFontMetrics>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <string>

#include "editor/printed_settings.h"
#include "editor/qt/zavo_view.h"
#include "grid/grid_ctrl.h"
#include "lang/language_sections.h"
#include "lang/text_lookup.h"
#include "platform/qt/dialog_builder.h"

namespace qzm {
namespace {

constexpr int kReceiveFrequencyColumn = 1;

QFont printFont(int height) {
    QFont font(
        QString::fromUtf8(kPrintFontFace.data(), static_cast<qsizetype>(kPrintFontFace.size())));
    font.setPixelSize(height);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

// The weekday follows the language file's locale, else the system's.
QLocale weekdayLocale() {
    const std::string name = faceLocale();
    return name.empty() ? QLocale::system() : QLocale(QString::fromStdString(name));
}

QString dateLine(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    const int day = local.tm_wday == 0 ? 7 : local.tm_wday;  // Qt counts Monday as 1
    const QString weekday = weekdayLocale().dayName(day, QLocale::LongFormat);
    return QString::fromStdString(formatPrintDate(local, weekday.toStdString()));
}

}  // namespace

int CZavoView::OnPreparePrinting() {
    printLayout_.reset();
    return kPrintPageCount;
}

void CZavoView::OnBeginPrinting(QPainter& dc) {
    printFont_ = printFont(kMeasureFontHeight);
    dc.save();
    dc.setFont(*printFont_);
    const QFontMetrics metrics(*printFont_, dc.device());
    const int letters = metrics.horizontalAdvance(QString::fromLatin1(
        kMeasureLetters.data(), static_cast<qsizetype>(kMeasureLetters.size())));
    printLayout_ =
        printPageLayout(grid_->totalWidth(), letters, dc.device()->width(), dc.device()->height());
    dc.restore();
}

void CZavoView::OnPrint(QPainter& dc, int page) {
    if (!printLayout_) {
        return;
    }
    const PrintPageLayout& layout = *printLayout_;
    printFont_ = printFont(kPrintFontHeight);
    dc.save();
    dc.setFont(*printFont_);
    dc.setViewport(0, 0, layout.printerWidth, layout.printerHeight);
    int originY = 0;
    const auto moveDown = [&](int height) {
        originY -= height;
        dc.setWindow(layout.originX(), originY, layout.logicalWidth, layout.logicalHeight);
    };
    moveDown(0);

    const int lineHeight = grid_->fixedRowsHeight();
    const QRect lineRect(0, 0, grid_->totalWidth(), lineHeight);
    const auto drawCell = [&](int cell, const QString& text) {
        dc.drawText(lineRect.translated(kPrintCellOffsets[cell], 0),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    };
    drawCell(0, dateLine(printClock_()));
    moveDown(lineHeight);

    if (page == 1) {
        const TextSource texts = currentLanguageTexts();
        for (int line = 0; line < static_cast<int>(kPrintedSettings.size()); ++line) {
            for (int cell = 0; cell < static_cast<int>(std::size(kPrintCellOffsets)); ++cell) {
                const QString text = printedSettingText(line, cell, texts);
                if (!text.isEmpty()) {
                    drawCell(cell, text);
                }
            }
            moveDown(lineHeight);
        }
    }

    grid_->printFixedRows(dc);
    // Each row goes directly under the one printed before it, so a channel
    // left out leaves no gap, and the first row clears the whole heading.
    int above = grid_->fixedRowsHeight();
    const auto programmed = [this](int row) {
        return !grid_->cellText(row, kReceiveFrequencyColumn).isEmpty();
    };
    for (const int row : printedRows(grid_->fixedRowCount(), grid_->rowCount(), programmed)) {
        moveDown(above);
        grid_->printRow(dc, row);
        above = grid_->rowHeight(row);
    }
    // Window origin and font as they were.
    dc.restore();
}

void CZavoView::OnEndPrinting() {
    printFont_.reset();
}

bool CZavoView::printOn(QPaintDevice& device) {
    const int lastPage = OnPreparePrinting();
    QPainter dc;
    if (!dc.begin(&device)) {
        return false;
    }
    OnBeginPrinting(dc);
    const bool mapped = printLayout_.has_value();
    if (mapped) {
        auto* paged = dynamic_cast<QPagedPaintDevice*>(&device);
        for (int page = 1; page <= lastPage; ++page) {
            if (page > 1 && (paged == nullptr || !paged->newPage())) {
                break;
            }
            OnPrint(dc, page);
        }
    }
    OnEndPrinting();
    return dc.end() && mapped;
}

QString CZavoView::printedSettingText(int line, int cell, const TextSource& texts) const {
    if (line < 0 || line >= static_cast<int>(kPrintedSettings.size()) || cell < 0 ||
        cell >= static_cast<int>(kPrintedSettings[0].size())) {
        return {};
    }
    const PrintedSetting& setting =
        kPrintedSettings[static_cast<std::size_t>(line)][static_cast<std::size_t>(cell)];
    const QString caption = controlText(findControl(this, setting.caption));
    switch (setting.kind) {
        case PrintedSetting::Kind::Empty:
            break;
        case PrintedSetting::Kind::CheckBox:
            return QString::fromStdString(
                printCheckBox(caption.toStdString(), checkBoxValue(setting.caption) != 0, texts));
        case PrintedSetting::Kind::Pair:
            return QString::fromStdString(
                printPair(caption.toStdString(),
                          controlText(findControl(this, setting.value)).toStdString()));
    }
    return {};
}

}  // namespace qzm
