// The tray icon in a real notification area (Xvfb + trayer): it shows, and real clicks on it
// open the menu or not.
#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QStyleHints>

#include "support/ScreenWait.h"
#include "support/XInput.h"
#include "ui/TrayIcon.h"

namespace vantrel {
namespace {

using test::RedPixels;
using test::Settle;
using test::WaitFor;

class TrayIconX11 : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
        ASSERT_TRUE(WaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000))
            << "no notification area: run under scripts/with-xvfb";
        tray_.SetMenuBitmaps();
        tray_.AddTrayIcon();
        ASSERT_TRUE(WaitFor([this] {
            const QRect g = tray_.SystemTrayIcon().geometry();
            return g.isValid() && g.width() > 0 && RedPixels(g) > 0;
        })) << "icon never showed in the notification area";
    }
    void TearDown() override {
        tray_.Menu().hide();
        tray_.RemoveTrayIcon();
        Settle(100);
    }

    QPoint IconCentre() { return tray_.SystemTrayIcon().geometry().center(); }
    bool MenuOpens() {
        return WaitFor([this] { return tray_.Menu().isVisible(); });
    }

    TrayIcon tray_;
    test::ReleaseCounter releases_;
};

TEST_F(TrayIconX11, IconShowsWithoutTooltipAndGoesAwayOnRemoval) {
    const QRect where = tray_.SystemTrayIcon().geometry();
    EXPECT_TRUE(tray_.SystemTrayIcon().isVisible());
    EXPECT_TRUE(tray_.SystemTrayIcon().toolTip().isEmpty());
    tray_.RemoveTrayIcon();
    EXPECT_TRUE(WaitFor([&where] { return RedPixels(where) == 0; }));
}

// Once (Qt must not add a context menu of its own), touching the pointer: near the top right
// corner the menu is moved to stay on screen.
TEST_F(TrayIconX11, LeftAndRightClicksOpenTheMenuOnceAtThePointer) {
    const QPoint centre = IconCentre();
    int shown = 0;
    QObject::connect(&tray_.Menu(), &QMenu::aboutToShow, [&shown] { ++shown; });
    for (const auto& [button, released] :
         {std::pair{1, Qt::LeftButton}, std::pair{3, Qt::RightButton}}) {
        SCOPED_TRACE(button);
        shown = 0;
        ASSERT_TRUE(test::XClick(centre.x(), centre.y(), button));
        ASSERT_TRUE(MenuOpens());
        ASSERT_TRUE(releases_.WaitFor(released, 1));
        EXPECT_EQ(shown, 1);
        EXPECT_TRUE(tray_.Menu().geometry().adjusted(-2, -2, 2, 2).contains(centre))
            << tray_.Menu().geometry().x() << "," << tray_.Menu().geometry().y();
        EXPECT_EQ(tray_.Menu().actions().size(), 15);
        tray_.Menu().hide();
        Settle(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
    }
}

TEST_F(TrayIconX11, MiddleClickAndDoubleClickLeaveNoMenuOpen) {
    const QPoint centre = IconCentre();
    ASSERT_TRUE(test::XClick(centre.x(), centre.y(), 2));
    ASSERT_TRUE(releases_.WaitFor(Qt::MiddleButton, 1));
    EXPECT_FALSE(tray_.Menu().isVisible());
    ASSERT_TRUE(test::XClick(centre.x(), centre.y(), 1, 2));
    ASSERT_TRUE(releases_.WaitFor(Qt::LeftButton, 2));
    EXPECT_FALSE(tray_.Menu().isVisible());
}

TEST_F(TrayIconX11, ASecondClickOnTheIconClosesTheMenu) {
    const QPoint centre = IconCentre();
    ASSERT_TRUE(test::XClick(centre.x(), centre.y(), 1));
    ASSERT_TRUE(MenuOpens());
    Settle(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
    ASSERT_TRUE(test::XClick(centre.x(), centre.y(), 1));
    ASSERT_TRUE(releases_.WaitFor(Qt::LeftButton, 2));
    EXPECT_FALSE(tray_.Menu().isVisible());
}

TEST_F(TrayIconX11, ActivationSignalsOpenOnlyForLeftAndRight) {
    const QPoint pointer(400, 300);
    QCursor::setPos(pointer);
    ASSERT_TRUE(WaitFor([&pointer] { return QCursor::pos() == pointer; }));
    for (const auto reason : {QSystemTrayIcon::MiddleClick, QSystemTrayIcon::DoubleClick}) {
        emit tray_.SystemTrayIcon().activated(reason);
        QCoreApplication::processEvents();  // the signal is handled at once; anything it posted
        EXPECT_FALSE(tray_.Menu().isVisible()) << reason;
    }
    for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context}) {
        emit tray_.SystemTrayIcon().activated(reason);
        ASSERT_TRUE(MenuOpens()) << reason;
        EXPECT_EQ(tray_.Menu().pos(), pointer);
        tray_.Menu().hide();
        Settle(100);
    }
}

}  // namespace
}  // namespace vantrel
