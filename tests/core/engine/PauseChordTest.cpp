// The pause chord through the engine and its scheduler: how long it is held, which chords
// count, what a pause lets go of and stops, and that a paused program sleeps until a button.
#include "core/engine/PauseChord.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/engine/PollScheduler.h"
#include "support/EngineRig.h"
#include "support/fakes/FakeWake.h"

namespace vantrel {
namespace {

using test::kHigh;
using test::kRest;
using E = MouseButtonEvent;

constexpr std::uint32_t kFive = 0x10, kChord = 0x50;  // buttons 5 and 7
constexpr std::uint32_t kMenu = ~0u;                  // not buttons: the tray entry chosen
constexpr std::int16_t kOwn = kPadsOwnButton;

// The engine on its scheduler, the stick held to the right as a game would, chord 5 + 7.
struct Rig : test::EngineRig {
    test::FakePollTimer timer;
    test::FakeWakeSource wake;
    PollScheduler scheduler{engine, joystick, timer, wake};
    Rig() {
        WideScreen();
        settings.PauseFirst = 5;
        settings.PauseSecond = 7;
        joystick.SetAxes(kHigh, kRest);
        scheduler.Start();
    }
    // Buttons held for `ticks` 5 ms periods: timer ticks while polling; asleep, the change
    // wakes it once and time passes without ticks.
    void Hold(std::uint32_t buttons, int ticks) {
        if (buttons == kMenu) {  // as the run does it
            engine.SetPaused(!engine.Paused());
            return scheduler.OnSettingsChanged();
        }
        joystick.SetButtons(buttons);
        if (scheduler.Asleep()) wake.Fire();
        for (int i = scheduler.Asleep() ? 0 : ticks; i > 0 && scheduler.Polling(); --i)
            scheduler.OnTimer();
    }
};

struct ChordCase {
    const char* name;
    std::vector<std::pair<std::uint32_t, int>> holds;  // buttons, for so many ticks
    bool paused;
    std::int16_t first = 5, second = 7;
    std::array<std::int16_t, 2> backStart{};  // the pad's own Back and Start
};

class ChordTiming : public ::testing::TestWithParam<ChordCase> {};

// Paused, the program sleeps with the stick pushed, waking for buttons only; no row clicks.
TEST_P(ChordTiming, PausesAfterASecondHeldAndResumesWhenHeldAgain) {
    const ChordCase& c = GetParam();
    Rig rig;
    rig.settings.PauseFirst = c.first;
    rig.settings.PauseSecond = c.second;
    rig.engine.SetBackStartButtons(c.backStart);
    for (const auto& [buttons, ticks] : c.holds) rig.Hold(buttons, ticks);
    EXPECT_EQ(rig.engine.Paused(), c.paused);
    EXPECT_EQ(rig.scheduler.Asleep(), c.paused);
    EXPECT_EQ(rig.timer.running, !c.paused);
    if (c.paused) EXPECT_EQ(rig.wake.watchedInput, WakeInput::ButtonsOnly);
    EXPECT_TRUE(rig.buttons.Take().empty()) << "a chord's buttons press nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChordTiming,
    ::testing::Values(
        ChordCase{"NineTenthsOfASecond", {{kChord, 180}, {0, 1}}, false},
        ChordCase{"OneTickShort", {{kChord, PauseChord::kHoldTicks - 1}}, false},
        ChordCase{"OneSecond", {{kChord, 200}}, true},
        ChordCase{"HeldOnAndLetGo", {{kChord, 1000}, {kFive, 9}, {0, 9}}, true},
        ChordCase{"OtherButtonsBesideIt", {{kChord | 1, 200}}, true},
        ChordCase{"LetGoAndHeldAgainResumes", {{kChord, 200}, {0, 1}, {kChord, 200}}, false},
        ChordCase{"LettingOneGoStartsAfresh", {{kChord, 150}, {kFive, 1}, {kChord, 150}}, false},
        // After a pause both are let go: one pressed again is no new hold.
        ChordCase{"OneLetGoAfterThePause", {{kChord, 200}, {kFive, 5}, {kChord, 200}}, true},
        ChordCase{"ThePadsOwnBackAndStart", {{kChord, 200}}, true, kOwn, kOwn, {5, 7}},
        ChordCase{"NoLayoutNoChord", {{kChord, 400}}, false, kOwn, kOwn},
        ChordCase{"NoChordChosen", {{kChord, 400}}, false, 0, 0, {5, 7}},
        ChordCase{"OneButtonTwiceIsRefused", {{kFive, 400}}, false, 5, 5},
        ChordCase{"ThePadsOwnTwiceIsRefused", {{kFive, 400}}, false, kOwn, 5, {5, 7}},
        ChordCase{"Button32IsNoChordButton", {{0x80000001u, 400}}, false, 1, 32},
        ChordCase{"TheMenuPauses", {{kMenu, 0}, {0, 1}}, true},
        // Resumed from the menu while asleep, the stick held moves at once.
        ChordCase{"TheMenuResumesAsleep", {{kMenu, 0}, {0, 1}, {kMenu, 0}}, false},
        // Resumed with the chord held, mouse buttons in it press nothing as they are let go.
        ChordCase{
            "MouseButtonsInTheChord", {{kMenu, 0}, {0x3, 200}, {0x1, 5}, {0, 1}}, false, 1, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// However the pause comes, a drag and a scroll in progress end at once, and while paused
// neither stick nor a button acts.
TEST(PauseChordTest, APauseLetsGoOfTheButtonsAndStopsMotionClicksAndScrolling) {
    for (const bool byChord : {true, false}) {
        SCOPED_TRACE(byChord ? "chord" : "menu");
        Rig rig;
        rig.ScrollStickAt(kRest, test::kLow);
        rig.Hold(1, 30);  // a drag: the left button down, the pointer moving, accelerating
        ASSERT_EQ(rig.buttons.Take(), std::vector<E>{E::LeftDown});
        byChord ? rig.Hold(1 | kChord, 200) : rig.engine.SetPaused(true);
        ASSERT_TRUE(rig.engine.Paused());
        EXPECT_EQ(rig.buttons.Take(), std::vector<E>{E::LeftUp}) << "the chord presses nothing";
        EXPECT_EQ(rig.scroll.ends, 1);
        const std::size_t turns = rig.scroll.turns.size();
        const ScreenPoint stopped = rig.pointer.position;
        for (const std::uint32_t buttons : {0u, 1u, 2u}) rig.Hold(buttons, 9);
        EXPECT_TRUE(rig.buttons.Take().empty());
        EXPECT_EQ(rig.pointer.position.x, stopped.x);
        EXPECT_EQ(rig.engine.MoveTicks(), 0);
        EXPECT_EQ(rig.scroll.turns.size(), turns);
    }
}

}  // namespace
}  // namespace vantrel
