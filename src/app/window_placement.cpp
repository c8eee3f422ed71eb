// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_placement.h"

#include <algorithm>

#include <QSettings>

#include "app/recent_file_list.h"

namespace qzm {
namespace {

constexpr const char* kGeometryKey = "Window/Geometry";
constexpr const char* kMaximisedKey = "Window/Maximized";
// Smaller than this is no window anyone meant to keep.
constexpr int kLeastSide = 100;

qint64 overlap(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64{common.width()} * common.height();
}

// `low` wins over `high` when the room is too small for the window.
int keepWithin(int start, int length, int low, int roomLength) {
    return std::max(low, std::min(start, low + roomLength - length));
}

}  // namespace

QRect fitWindowGeometry(const std::optional<QRect>& saved, const QList<QRect>& available,
                        QSize standard, QMargins frame) {
    const QSize around(frame.left() + frame.right(), frame.top() + frame.bottom());
    QRect screen = available.isEmpty() ? QRect(QPoint(0, 0), standard + around) : available[0];
    bool centred = true;
    QSize size = standard;
    if (saved && saved->width() >= kLeastSide && saved->height() >= kLeastSide) {
        size = saved->size();
        const QRect savedFrame = saved->marginsAdded(frame);
        qint64 best = 0;
        for (const QRect& each : available) {
            if (const qint64 shared = overlap(savedFrame, each); shared > best) {
                best = shared;
                screen = each;
                centred = false;
            }
        }
    }
    const QSize room = (screen.size() - around).expandedTo(QSize(1, 1));
    size = size.boundedTo(room);
    QRect placed(QPoint(0, 0), size + around);
    if (centred) {
        placed.moveCenter(screen.center());
    } else {
        placed.moveTopLeft(saved->marginsAdded(frame).topLeft());
    }
    placed.moveLeft(keepWithin(placed.left(), placed.width(), screen.left(), screen.width()));
    placed.moveTop(keepWithin(placed.top(), placed.height(), screen.top(), screen.height()));
    return placed.marginsRemoved(frame);
}

std::optional<WindowPlacement> loadWindowPlacement(const QString& storeFile) {
    const auto store = openUserStore(storeFile);
    const QList<QVariant> numbers = store->value(kGeometryKey).toList();
    if (numbers.size() != 4) {
        return std::nullopt;
    }
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = numbers[i].toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    WindowPlacement placement;
    placement.normal = QRect(values[0], values[1], values[2], values[3]);
    if (placement.normal.width() < kLeastSide || placement.normal.height() < kLeastSide) {
        return std::nullopt;
    }
    placement.maximised = store->value(kMaximisedKey, false).toBool();
    return placement;
}

void saveWindowPlacement(const QString& storeFile, const WindowPlacement& placement) {
    const auto store = openUserStore(storeFile);
    const QRect& r = placement.normal;
    store->setValue(kGeometryKey, QVariantList{r.x(), r.y(), r.width(), r.height()});
    store->setValue(kMaximisedKey, placement.maximised);
    store->sync();
}

}  // namespace qzm
