// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

namespace qzm {

// Where the main window was when it was closed: its normal (not maximised)
// client rectangle and whether it was maximised.
struct WindowPlacement {
    QRect normal;
    bool maximised = false;
};

// The client rectangle to give the window.  `saved`: the remembered one, if
// any; `available`: each screen's available area, the primary first;
// `standard`: the size of a first start; `frame`: title bar and borders
// around the client area.  The result, with its frame, lies wholly within
// one screen: a remembered place on that screen is kept as far as it fits,
// a remembered place on no screen (or none at all) is centred on the primary
// one.  A size larger than the screen shrinks to it.
QRect fitWindowGeometry(const std::optional<QRect>& saved, const QList<QRect>& available,
                        QSize standard, QMargins frame);

// Kept in the per-user store beside the recent-file list (`storeFile`: an INI
// file instead, for tests).  Nothing or a broken entry reads as nothing.
std::optional<WindowPlacement> loadWindowPlacement(const QString& storeFile);
void saveWindowPlacement(const QString& storeFile, const WindowPlacement& placement);

}  // namespace qzm
