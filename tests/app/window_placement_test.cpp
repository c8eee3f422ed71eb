// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include "app/main_frame.h"
#include "app/window_placement.h"
#include "temp_folder.h"

namespace qzm::test {
namespace {

const QSize kStandard(900, 650);
const QMargins kFrame(4, 28, 4, 4);
const QRect kDesktop(0, 0, 1920, 1040);
const QRect kNetbook(0, 0, 1024, 576);  // 1024 by 600 less a panel
const QRect kRightScreen(1920, 0, 1280, 1024);

bool within(const QRect& client, const QRect& screen) {
    return screen.contains(client.marginsAdded(kFrame));
}

TEST(FitWindowGeometry, PlacesEveryWindowWhollyOnOneScreen) {
    struct Case {
        const char* what;
        std::optional<QRect> saved;
        QList<QRect> screens;
        QRect expected;
    };
    const Case cases[] = {
        {"first start: the standard size, centred",
         std::nullopt,
         {kDesktop},
         QRect(QPoint(0, 0), kStandard).translated(510, 207)},
        {"remembered size and place kept",
         QRect(100, 80, 1000, 700),
         {kDesktop},
         QRect(100, 80, 1000, 700)},
        {"remembered on the second screen stays there",
         QRect(2000, 100, 800, 600),
         {kDesktop, kRightScreen},
         QRect(2000, 100, 800, 600)},
        {"the second screen is gone: centred on the first, size kept",
         QRect(2000, 100, 800, 600),
         {kDesktop},
         QRect(560, 232, 800, 600)},
        {"far above every screen: centred",
         QRect(100, -5000, 800, 600),
         {kDesktop},
         QRect(560, 232, 800, 600)},
        {"half off the right edge: pulled in",
         QRect(1500, 100, 800, 600),
         {kDesktop},
         QRect(1116, 100, 800, 600)},
        {"title bar above the top edge: pulled down",
         QRect(100, 5, 800, 600),
         {kDesktop},
         QRect(100, 28, 800, 600)},
        {"first start on a small screen: shrunk to it, title bar on it",
         std::nullopt,
         {kNetbook},
         QRect(62, 28, 900, 544)},
        {"remembered larger than the screen now is",
         QRect(0, 0, 1800, 1000),
         {kNetbook},
         QRect(4, 28, 1016, 544)},
        {"screen not at the origin",
         std::nullopt,
         {QRect(-1024, 200, 1024, 576)},
         QRect(-961, 228, 900, 544)},
        {"a remembered sliver is ignored",
         QRect(10, 10, 5, 5),
         {kDesktop},
         QRect(QPoint(0, 0), kStandard).translated(510, 207)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QRect placed = fitWindowGeometry(c.saved, c.screens, kStandard, kFrame);
        EXPECT_EQ(placed, c.expected);
        bool onOne = false;
        for (const QRect& screen : c.screens) {
            onOne = onOne || within(placed, screen);
        }
        EXPECT_TRUE(onOne);
    }
}

TEST(FitWindowGeometry, NoScreenAtAllStillGivesAWindow) {
    const QRect placed = fitWindowGeometry(std::nullopt, {}, kStandard, kFrame);
    EXPECT_EQ(placed.size(), kStandard);
}

TEST(WindowPlacementStore, KeepsSizePlaceAndMaximisedAndIgnoresBrokenEntries) {
    TempFolder folder;
    const QString store = QString::fromStdString((folder.path() / "user.ini").string());
    EXPECT_FALSE(loadWindowPlacement(store).has_value());
    saveWindowPlacement(store, {QRect(12, 34, 1000, 700), true});
    const auto loaded = loadWindowPlacement(store);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->normal, QRect(12, 34, 1000, 700));
    EXPECT_TRUE(loaded->maximised);

    for (const char* broken : {"Geometry=1, 2, 3\n", "Geometry=a, b, 900, 650\n",
                               "Geometry=0, 0, 0, 0\n", "Geometry=\n"}) {
        SCOPED_TRACE(broken);
        { QSettings(store, QSettings::IniFormat).clear(); }
        std::ofstream(folder.path() / "user.ini") << "[Window]\n" << broken;
        EXPECT_FALSE(loadWindowPlacement(store).has_value());
    }
}

TEST(WindowPlacementFrame, ReopensWhereItWasClosedAndFitsASmallScreen) {
    TempFolder folder;
    const QString store = QString::fromStdString((folder.path() / "user.ini").string());
    const QRect big = QGuiApplication::primaryScreen()->availableGeometry();
    QRect closedAt;
    {
        CMainFrame frame;
        frame.setPlacementKeeper(
            [&](const WindowPlacement& at) { saveWindowPlacement(store, at); });
        frame.placeOnScreen(loadWindowPlacement(store));
        EXPECT_EQ(frame.size(), QSize(900, 650));  // the first start
        frame.showPlaced();
        frame.setGeometry(QRect(big.topLeft() + QPoint(60, 70), QSize(700, 500)));
        closedAt = frame.geometry();
        EXPECT_TRUE(frame.close());
    }
    const auto saved = loadWindowPlacement(store);
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->normal.size(), QSize(700, 500));
    EXPECT_FALSE(saved->maximised);
    {
        CMainFrame frame;
        frame.placeOnScreen(saved);
        EXPECT_EQ(frame.geometry(), closedAt);
    }
    {
        // Maximised at close: maximised again.
        CMainFrame frame;
        frame.placeOnScreen(WindowPlacement{closedAt, true});
        frame.showPlaced();
        EXPECT_TRUE(frame.isMaximized());
    }
    {
        // On a 1024 by 600 screen the whole window, title bar included, fits.
        CMainFrame frame;
        const QRect netbook(0, 0, 1024, 600);
        frame.placeWithin(std::nullopt, {netbook});
        const QMargins around = frame.frameMargins();
        EXPECT_TRUE(netbook.contains(frame.geometry().marginsAdded(around)));
        EXPECT_LE(frame.minimumHeight(), 600 - around.top() - around.bottom());
        EXPECT_GE(frame.geometry().marginsAdded(around).top(), 0);
    }
}

}  // namespace
}  // namespace qzm::test
