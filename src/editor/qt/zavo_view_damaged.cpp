// SPDX-License-Identifier: GPL-3.0-or-later
// Channel values the radio cannot use as stored: marked in the grid with a
// tooltip that names the stored bytes, announced once when an image arrives,
// and never rewritten until the user types a new value.

#include <QEvent>
#include <QHelpEvent>
#include <QStringList>
#include <QToolTip>

#include "editor/qt/zavo_view.h"
#include "grid/grid_ctrl.h"
#include "lang/language_sections.h"
#include "lang/qt/ui_text.h"
#include "lang/text_lookup.h"
#include "platform/qt/app_shell.h"
#include "radio/damaged_values.h"
#include "radio/value_codecs.h"
#include "radio/zavo_doc.h"

namespace qzm {
namespace {

constexpr int kListedInWarning = 4;  // the first few, then "..."

// The damaged value shown in a grid cell, if the cell shows one.
std::optional<DamagedValue> damagedValueInCell(const RadioImage& image, int n, int column) {
    const std::optional<ChannelField> field = channelFieldOfColumn(column);
    if (!field) {
        return std::nullopt;
    }
    return damagedValueOf(image, n, *field);
}

}  // namespace

QString CZavoView::damagedCellText(int n, int column) const {
    const std::optional<DamagedValue> value = damagedValueInCell(document_.image(), n, column);
    if (!value) {
        return {};
    }
    const QString readable =
        QString::fromStdString(readableDamagedValue(document_.image(), *value));
    const QString mark = uiText("IDS_DAMAGED_CELL");
    return readable.isEmpty() ? mark : uiText("IDS_DAMAGED_MARK") + " " + readable;
}

QString CZavoView::damagedCellToolTip(int n, int column) const {
    const std::optional<DamagedValue> value = damagedValueInCell(document_.image(), n, column);
    if (!value) {
        return {};
    }
    return uiText("IDS_DAMAGED_TIP").arg(QString::fromStdString(value->storedBytes));
}

void CZavoView::markDamagedCells(int n) {
    for (int column = 1; column <= 4; ++column) {
        const QString mark = damagedCellText(n, column);
        if (!mark.isEmpty()) {
            writeCell(n, column, mark);
        }
    }
}

bool CZavoView::showDamagedToolTip(const QHelpEvent& help) {
    if (grid_ == nullptr) {
        return false;
    }
    const CellId cell = grid_->hitTest(help.pos(), false);
    const QString tip = damagedCellToolTip(cell.row, cell.col);
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(help.globalPos(), tip, grid_->viewport());
    return true;
}

QString CZavoView::damagedValuesWarning() const {
    const std::vector<DamagedValue> values = findDamagedValues(document_.image());
    if (values.empty()) {
        return {};
    }
    QStringList channels;
    for (const int n : channelsOf(values)) {
        channels << QString::number(n);
    }
    const auto titles = columnTitles();
    QStringList lines;
    for (std::size_t i = 0; i < values.size() && i < kListedInWarning; ++i) {
        const DamagedValue& value = values[i];
        lines << uiText("IDS_DAMAGED_LINE")
                     .arg(QString::number(value.channel),
                          QString::fromStdString(
                              titles[static_cast<std::size_t>(channelTableColumn(value.field))]),
                          QString::fromStdString(value.storedBytes));
    }
    if (values.size() > kListedInWarning) {
        lines << QStringLiteral("...");
    }
    return uiText("IDS_DAMAGED_VALUES")
               .arg(QString::number(values.size()), channels.join(QStringLiteral(", "))) +
           QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
}

bool CZavoView::warnOfDamagedValues() {
    const QString warning = damagedValuesWarning();
    if (warning.isEmpty()) {
        return false;
    }
    shell_.messageBox().show(
        warning.toStdString(), lookupText("IDS_WINDOWNAME"),
        {MessageIcon::Exclamation, MessageButtons::Ok, MessageOwner::MainWindow});
    return true;
}

}  // namespace qzm
