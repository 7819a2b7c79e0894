// The real main window on a real display (Xvfb + trayer) with an SDL virtual joystick: its icon
// shows in the notification area, a click opens the menu in the loaded language, and the stick
// drives the pointer through the window's own timer.
//
// With VANTREL_SCREENSHOTS set to a folder, each language's open menu is saved there as
// tray-menu-<language in lower case>.png (scripts/screenshots).
#include <gtest/gtest.h>

#include <QAction>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QStyleHints>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string_view>

#include "core/text/LanguageFile.h"
#include "integration/VirtualPad.h"
#include "platform/joystick/sdl/SdlJoysticks.h"
#include "platform/pointer/xtest/X11Pointer.h"
#include "support/ScreenWait.h"
#include "support/TempDir.h"
#include "support/XInput.h"
#include "support/fakes/FakeDesktop.h"
#include "ui/AboutWindow.h"
#include "ui/OptionsDialog.h"
#include "ui/TrayApplication.h"
#include "ui/TrayIcon.h"

namespace vantrel {
namespace {

using test::RedPixels;
using test::Settle;
using test::WaitFor;

namespace fs = std::filesystem;

struct Language {
    const char* isoCode;
    const char* country;
    const char* file;
    friend void PrintTo(const Language& language, std::ostream* out) { *out << language.file; }
};

class TrayApplicationTray : public ::testing::TestWithParam<Language> {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
        ASSERT_TRUE(pointer_.Connected());
        ASSERT_TRUE(pad_.Attached());
        ASSERT_TRUE(WaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000))
            << "no notification area: run under scripts/with-xvfb";
        fs::copy(fs::path(VANTREL_SOURCE_DIR) / "resources" / "Lang", folder_ / "Lang");
        desktop_.locale = FakeLocale(GetParam().isoCode, GetParam().country);
        window_ = std::make_unique<TrayApplication>(
            state_, desktop_.Ports(joysticks_, pointer_, pointer_, nullptr),
            test::LocationIn(folder_.path()));
        window_->Run().Initialize();
        ASSERT_EQ(window_->Run().Start(), StartOutcome::Running);
        ASSERT_TRUE(WaitFor([this] {
            const QRect g = window_->Tray().SystemTrayIcon().geometry();
            return g.isValid() && g.width() > 0 && RedPixels(g) > 0;
        })) << "icon never showed in the notification area";
        // A click soon after the previous case's click would count as a double click.
        Settle(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
    }
    void TearDown() override {
        if (!window_) return;
        window_->Tray().Menu().hide();
        window_->Run().Shutdown();
        Settle(100);
    }

    test::TempDir folder_;
    SdlJoysticks joysticks_;
    test::VirtualPad pad_;
    X11Pointer pointer_;
    test::FakeDesktop desktop_;
    ProgramState state_;
    std::unique_ptr<TrayApplication> window_;
};

TEST_P(TrayApplicationTray, ClickOnTheIconOpensTheMenuInTheLoadedLanguage) {
    LangText expected;
    ASSERT_TRUE(LoadTexts(folder_.path(), GetParam().file, expected));
    EXPECT_EQ(state_.settings.LanguageFile, GetParam().file);

    const QRect icon = window_->Tray().SystemTrayIcon().geometry();
    ASSERT_TRUE(test::XClick(icon.center().x(), icon.center().y(), 1));
    QMenu& menu = window_->Tray().Menu();
    ASSERT_TRUE(WaitFor([&menu] { return menu.isVisible(); }));
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 15);
    for (const auto& [entry, line] :
         {std::pair{0, 7}, std::pair{1, 46}, std::pair{3, 26}, std::pair{14, 13}})
        EXPECT_EQ(actions[entry]->text().toStdString(), expected[line]) << "entry " << entry;
    EXPECT_FALSE(actions[0]->icon().isNull());
    EXPECT_TRUE(actions[3]->icon().isNull());

    if (const char* shots = std::getenv("VANTREL_SCREENSHOTS")) {
        Settle(300);  // let the menu finish painting
        const QRect area = menu.geometry().united(icon).adjusted(-12, -12, 12, 12);
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(
            0, area.x(), area.y(), area.width(), area.height());
        const QString language =
            QString::fromStdString(fs::path(GetParam().file).stem().string()).toLower();
        const fs::path file = fs::path(shots) / ("tray-menu-" + language.toStdString() + ".png");
        EXPECT_TRUE(shot.save(QString::fromStdString(file.string()), "PNG")) << file;
    }
}

// Opens the menu with a real click on the icon, then clicks the entry `name`.
bool ChooseFromTheMenu(TrayApplication& window, std::string_view name) {
    const QRect icon = window.Tray().SystemTrayIcon().geometry();
    QMenu& menu = window.Tray().Menu();
    if (!test::XClick(icon.center().x(), icon.center().y(), 3)) return false;
    // The menu takes clicks once the server shows it, which is later than isVisible().
    if (!WaitFor([&menu] { return menu.isVisible() && menu.windowHandle()->isExposed(); }))
        return false;
    QAction* entry = window.Tray().Entry(*TrayMenuPosition(name));
    const QPoint at = menu.mapToGlobal(menu.actionGeometry(entry).center());
    return test::XClick(at.x(), at.y(), 1) && WaitFor([&menu] { return !menu.isVisible(); });
}

// Saves a window's picture for the README when screenshots are asked for.
void SaveShot(QWidget& window, const std::string& name, const Language& language) {
    const char* shots = std::getenv("VANTREL_SCREENSHOTS");
    if (shots == nullptr) return;
    const QString lang = QString::fromStdString(fs::path(language.file).stem().string()).toLower();
    const fs::path file = fs::path(shots) / (name + "-" + lang.toStdString() + ".png");
    EXPECT_TRUE(window.grab().save(QString::fromStdString(file.string()), "PNG")) << file;
}

TEST_P(TrayApplicationTray, OptionsAboutAndLanguageOpenFromTheMenu) {
    ASSERT_TRUE(ChooseFromTheMenu(*window_, "options"));
    OptionsDialog* options = window_->Options().Dialog();
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(WaitFor([options] { return options->isVisible(); }));
    EXPECT_TRUE(options->windowTitle().startsWith(QString::fromStdString(state_.texts[29])));
    SaveShot(*options, "options", GetParam());
    options->close();

    ASSERT_TRUE(ChooseFromTheMenu(*window_, "about"));
    AboutWindow* about = window_->About().Window();
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(WaitFor([about] { return about->isVisible(); }));
    if (std::getenv("VANTREL_SCREENSHOTS") != nullptr) Settle(1500);  // credits into view
    SaveShot(*about, "about", GetParam());
    about->close();

    ASSERT_TRUE(ChooseFromTheMenu(*window_, "language"));
    EXPECT_EQ(desktop_.fileDialog.calls, 1);
    EXPECT_EQ(desktop_.fileDialog.request.initialFolder, (folder_ / "Lang").string());
}

TEST_P(TrayApplicationTray, TheStickDrivesThePointerThroughTheWindowsTimer) {
    const QPoint start(300, 300);
    QCursor::setPos(start);
    ASSERT_TRUE(WaitFor([&start] { return QCursor::pos() == start; }));
    ASSERT_TRUE(pad_.SetAxes(32767, 0));  // fully right, vertical at rest
    ASSERT_TRUE(WaitFor([&start] { return QCursor::pos().x() > start.x() + 40; }));
    ASSERT_TRUE(pad_.SetAxes(0, 0));
    EXPECT_EQ(QCursor::pos().y(), start.y());
    EXPECT_FALSE(window_->PositionLabel()->text().isEmpty());

    // A round gate holds a stick pushed fully at 45 degrees inside both axes' ends: it moves
    // all the same, by equal steps up and right.
    const QPoint corner = QCursor::pos();
    ASSERT_TRUE(pad_.SetAxes(23170, -23170));
    ASSERT_TRUE(WaitFor([&corner] { return QCursor::pos().y() < corner.y() - 40; }));
    ASSERT_TRUE(pad_.SetAxes(0, 0));
    const QPoint moved = QCursor::pos() - corner;
    EXPECT_GT(moved.x(), 30);
    EXPECT_LE(std::abs(moved.x() + moved.y()), 9);  // the last step's y may still be on its way

    // At rest the label follows a pointer moved by another client within two ticks.
    window_->OnPollTick();
    X11Pointer other;
    ASSERT_TRUE(other.PlaceAt(210, 170) && other.Sync());
    window_->OnPollTick();
    window_->OnPollTick();
    EXPECT_EQ(window_->PositionLabel()->text().toStdString(), " 210 -  170");
}

// Back + Start (the virtual pad's mapping: buttons 5 and 7) held a second pause: a held drag is
// let go, the stick moves nothing, the tooltip says so; let go and held again, they resume. The
// menu entry does the same.
TEST_P(TrayApplicationTray, TheChordAndTheMenuEntryPauseAndResume) {
    int ticks = 0;
    QObject::connect(window_->PollTimer(), &QTimer::timeout, [&ticks] { ++ticks; });
    const auto ticksPass = [&ticks](int n) {
        return WaitFor([&, end = ticks + n] { return ticks >= end; });
    };
    const auto paused = [this] {
        return window_->Tray().SystemTrayIcon().toolTip().toStdString() ==
               state_.texts[TextId::PausedTooltip];
    };
    // From the left half, whatever ran to the screen's edge before.
    const auto moves = [] {
        QCursor::setPos(200, 300);
        return WaitFor([] { return QCursor::pos().x() > 220; });
    };
    const auto stays = [&] {
        const QPoint at = QCursor::pos();
        return ticksPass(40) && QCursor::pos() == at;
    };
    const auto chord = [this](bool down) {
        return pad_.SetButton(4, down) && pad_.SetButton(6, down);
    };

    ASSERT_TRUE(pad_.SetButton(0, true) && pad_.SetAxes(32767, 0));  // a drag to the right
    ASSERT_TRUE(WaitFor([] { return test::XPointer().leftDown; }) && moves());
    ASSERT_TRUE(chord(true));
    ASSERT_TRUE(WaitFor(paused));
    EXPECT_TRUE(WaitFor([] { return !test::XPointer().leftDown; }));
    EXPECT_TRUE(stays());
    ASSERT_TRUE(chord(false) && pad_.SetButton(0, false) && ticksPass(2));
    ASSERT_TRUE(chord(true));
    ASSERT_TRUE(WaitFor([&] { return !paused(); }));
    EXPECT_TRUE(moves());

    QAction* entry = window_->Tray().Entry(*TrayMenuPosition(MenuAction::TogglePause));
    for (const bool pausing : {true, false}) {
        ASSERT_TRUE(chord(false) && pad_.SetAxes(0, 0) && ticksPass(2));
        ASSERT_TRUE(ChooseFromTheMenu(*window_, "pause"));
        ASSERT_TRUE(WaitFor([&] { return paused() == pausing; }));
        EXPECT_EQ(entry->isChecked(), pausing);
        ASSERT_TRUE(pad_.SetAxes(32767, 0));
        EXPECT_TRUE(pausing ? stays() : moves());
    }
    ASSERT_TRUE(pad_.SetAxes(0, 0));
}

INSTANTIATE_TEST_SUITE_P(Languages, TrayApplicationTray,
                         ::testing::Values(Language{"gb", "United Kingdom", "English.lng"},
                                           Language{"it", "Italy", "Italiano.lng"}),
                         [](const auto& info) {
                             return fs::path(info.param.file).stem().string();
                         });

}  // namespace
}  // namespace vantrel
