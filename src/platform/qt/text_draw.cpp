// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/text_draw.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace qzm {

int qtTextFlags(std::uint32_t format) {
    int flags = 0;
    if ((format & DT_CENTER) != 0) {
        flags |= Qt::AlignHCenter;
    } else if ((format & DT_RIGHT) != 0) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    if (singleLine && (format & DT_VCENTER) != 0) {
        flags |= Qt::AlignVCenter;
    } else if (singleLine && (format & DT_BOTTOM) != 0) {
        flags |= Qt::AlignBottom;
    } else {
        flags |= Qt::AlignTop;
    }
    if (singleLine) {
        flags |= Qt::TextSingleLine;
    } else if ((format & DT_WORDBREAK) != 0) {
        flags |= Qt::TextWordWrap;
    }
    if ((format & DT_EXPANDTABS) != 0) {
        flags |= Qt::TextExpandTabs;
    }
    if ((format & DT_NOPREFIX) == 0) {
        flags |= (format & DT_HIDEPREFIX) != 0 ? Qt::TextHideMnemonic : Qt::TextShowMnemonic;
    }
    if ((format & DT_NOCLIP) != 0) {
        flags |= Qt::TextDontClip;
    }
    return flags;
}

namespace {

QString prepareText(const QString& text, std::uint32_t format, const QFontMetrics& metrics,
                    int width, int flags) {
    QString shown = text;
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    if (singleLine) {
        // A single line shows line breaks as plain spaces rather than breaking.
        shown.replace(QLatin1String("\r\n"), QLatin1String(" "));
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
        shown.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    const std::uint32_t ellipsis = format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS);
    if (ellipsis == 0 || (format & DT_CALCRECT) != 0 ||
        (!singleLine && (format & DT_WORDBREAK) != 0)) {
        return shown;
    }
    const Qt::TextElideMode mode =
        (ellipsis & DT_PATH_ELLIPSIS) != 0 ? Qt::ElideMiddle : Qt::ElideRight;
    const int mnemonicFlags = flags & (Qt::TextShowMnemonic | Qt::TextHideMnemonic);
    QStringList lines = shown.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line = metrics.elidedText(line, mode, width, mnemonicFlags);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

int drawText(QPainter& painter, const QString& text, QRect& rect, std::uint32_t format) {
    const int flags = qtTextFlags(format);
    const QFontMetrics metrics = painter.device() != nullptr
                                     ? QFontMetrics(painter.font(), painter.device())
                                     : QFontMetrics(painter.font());
    const QString shown = prepareText(text, format, metrics, rect.width(), flags);

    if ((format & DT_CALCRECT) != 0) {
        const bool wraps = (format & DT_SINGLELINE) == 0 && (format & DT_WORDBREAK) != 0;
        constexpr int kUnbounded = 1 << 20;
        const QRect area(rect.left(), rect.top(), wraps ? rect.width() : kUnbounded, kUnbounded);
        const int layoutFlags = flags & ~(static_cast<int>(Qt::AlignHorizontal_Mask) |
                                          static_cast<int>(Qt::AlignVertical_Mask));
        const QRect bound =
            metrics.boundingRect(area, layoutFlags | Qt::AlignLeft | Qt::AlignTop, shown);
        if (!wraps) {
            rect.setWidth(bound.width());
        }
        const int height = shown.isEmpty() ? metrics.height() : bound.height();
        rect.setHeight(height);
        return height;
    }

    QRect bound;
    painter.drawText(rect, flags, shown, &bound);
    return shown.isEmpty() ? metrics.height() : bound.height();
}

}  // namespace qzm
