// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

#include "platform/command_ids.h"

namespace qzm {
namespace {

using Drawing = std::function<void(QPainter&)>;

const QColor kOutline(60, 60, 60);

// Drawings use a 16 by 15 grid; larger sizes scale it.
QPixmap render(const Drawing& draw, int scale) {
    QPixmap pixmap(kToolbarImageWidth * scale, kToolbarImageHeight * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, scale > 1);
    painter.scale(scale, scale);
    draw(painter);
    return pixmap;
}

QPen outlinePen() {
    QPen pen(kOutline, 1.0);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void drawPage(QPainter& p) {
    QPolygonF page;
    page << QPointF(3.5, 1.5) << QPointF(9.5, 1.5) << QPointF(12.5, 4.5) << QPointF(12.5, 13.5)
         << QPointF(3.5, 13.5);
    p.setPen(outlinePen());
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    QPolygonF fold;
    fold << QPointF(9.5, 1.5) << QPointF(9.5, 4.5) << QPointF(12.5, 4.5);
    p.setBrush(QColor(210, 210, 210));
    p.drawPolygon(fold);
}

void drawFolder(QPainter& p) {
    p.setPen(outlinePen());
    p.setBrush(QColor(214, 168, 56));
    QPolygonF back;
    back << QPointF(1.5, 3.5) << QPointF(5.5, 3.5) << QPointF(6.5, 4.5) << QPointF(12.5, 4.5)
         << QPointF(12.5, 12.5) << QPointF(1.5, 12.5);
    p.drawPolygon(back);
    p.setBrush(QColor(250, 210, 90));
    QPolygonF flap;
    flap << QPointF(3.5, 7.5) << QPointF(15.0, 7.5) << QPointF(12.5, 12.5) << QPointF(1.5, 12.5);
    p.drawPolygon(flap);
}

void drawDisk(QPainter& p) {
    p.setPen(outlinePen());
    p.setBrush(QColor(52, 96, 180));
    QPolygonF body;
    body << QPointF(1.5, 1.5) << QPointF(12.5, 1.5) << QPointF(14.5, 3.5) << QPointF(14.5, 13.5)
         << QPointF(1.5, 13.5);
    p.drawPolygon(body);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 9, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(QRectF(4.5, 9, 7, 4.5));
    p.setBrush(QColor(52, 96, 180));
    p.drawRect(QRectF(9, 9.8, 1.6, 3));
}

// A handheld radio on the left of the image.
void drawRadio(QPainter& p) {
    p.setPen(outlinePen());
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(2.5, 0.5, 1, 4));  // antenna
    p.setBrush(QColor(70, 70, 74));
    p.drawRoundedRect(QRectF(1.5, 4.5, 6, 10), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 220, 160));
    p.drawRect(QRectF(2.5, 5.5, 4, 2.5));  // display
    p.setBrush(QColor(200, 200, 200));
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            p.drawRect(QRectF(2.8 + column * 2, 9.2 + row * 2, 1.4, 1.2));
        }
    }
}

// An arrow from x0 to x1 at half height.
void drawArrow(QPainter& p, double x0, double x1, const QColor& colour) {
    const double y = 7.5;
    const double head = x1 > x0 ? -3.5 : 3.5;
    QPolygonF arrow;
    arrow << QPointF(x0, y - 1.5) << QPointF(x1 + head, y - 1.5) << QPointF(x1 + head, y - 4)
          << QPointF(x1, y) << QPointF(x1 + head, y + 4) << QPointF(x1 + head, y + 1.5)
          << QPointF(x0, y + 1.5);
    p.setPen(QPen(colour.darker(150), 1.0));
    p.setBrush(colour);
    p.drawPolygon(arrow);
}

void drawRead(QPainter& p) {
    drawRadio(p);
    drawArrow(p, 8.5, 15.5, QColor(60, 170, 70));  // data leaves the radio
}

void drawWrite(QPainter& p) {
    drawRadio(p);
    drawArrow(p, 15.5, 8.5, QColor(220, 100, 40));  // data goes into the radio
}

void drawPrinter(QPainter& p) {
    p.setPen(outlinePen());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 0.5, 7, 5));  // paper waiting
    p.setBrush(QColor(170, 170, 176));
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 9.5, 7, 5));  // paper printed
    p.setPen(QPen(QColor(120, 120, 120), 1.0));
    p.drawLine(QPointF(6, 11.5), QPointF(10, 11.5));
    p.drawLine(QPointF(6, 13), QPointF(9, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 200, 90));
    p.drawRect(QRectF(12, 7, 1.5, 1.5));
}

void drawHelp(QPainter& p) {
    p.setPen(QPen(QColor(30, 70, 150), 1.0));
    p.setBrush(QColor(60, 120, 210));
    p.drawEllipse(QRectF(1, 0.5, 14, 14));
    QFont font;
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1, 0.5, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

QIcon iconOf(const Drawing& draw) {
    QIcon icon;
    for (int scale : {1, 2, 3}) {
        icon.addPixmap(render(draw, scale));
    }
    return icon;
}

}  // namespace

QIcon toolbarIcon(int commandId) {
    switch (commandId) {
        case ID_FILE_NEW:
            return iconOf(drawPage);
        case ID_FILE_OPEN:
            return iconOf(drawFolder);
        case ID_FILE_SAVE:
            return iconOf(drawDisk);
        case ID_PROGRAM_READ:
            return iconOf(drawRead);
        case ID_PROGRAM_WRITE:
            return iconOf(drawWrite);
        case ID_FILE_PRINT:
            return iconOf(drawPrinter);
        case ID_HELP_HELP:
            return iconOf(drawHelp);
        default:
            break;
    }
    return {};
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        // The radio of the toolbar, centred and a little larger.
        p.translate(4.0, 0.5);
        p.scale(1.25, 1.0);
        drawRadio(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace qzm
