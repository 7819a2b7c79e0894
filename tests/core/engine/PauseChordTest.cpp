// The pause chord through the engine and its scheduler: how long it is held, which chords
// count, what a pause lets go of and stops, and that a paused program sleeps until a button.
#include "core/engine/PauseChord.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/engine/PollEngine.h"
#include "core/engine/PollScheduler.h"
#include "support/EngineRig.h"
#include "support/fakes/FakeWake.h"

namespace vantrel {
namespace {

using test::kHigh;
using test::kRest;
using E = MouseButtonEvent;

constexpr std::uint32_t kFive = 0x10, kSeven = 0x40, kChord = kFive | kSeven;

struct Rig : test::EngineRig {
    Rig() {
        WideScreen();
        settings.PauseFirst = 5;
        settings.PauseSecond = 7;
    }
    void Hold(std::uint32_t buttons, int ticks) {
        joystick.SetButtons(buttons);
        for (int i = 0; i < ticks; ++i) engine.Tick();
    }
};

struct ChordCase {
    const char* name;
    std::int16_t first, second;
    std::array<std::int16_t, 2> backStart;             // the pad's own Back and Start
    std::vector<std::pair<std::uint32_t, int>> holds;  // buttons, for so many ticks
    bool paused;
};

class ChordTiming : public ::testing::TestWithParam<ChordCase> {};

TEST_P(ChordTiming, PausesAfterASecondHeldAndResumesWhenHeldAgain) {
    const ChordCase& c = GetParam();
    Rig rig;
    rig.settings.PauseFirst = c.first;
    rig.settings.PauseSecond = c.second;
    rig.engine.SetBackStartButtons(c.backStart);
    for (const auto& [buttons, ticks] : c.holds) rig.Hold(buttons, ticks);
    EXPECT_EQ(rig.engine.Paused(), c.paused);
}

constexpr std::int16_t kOwn = kPadsOwnButton;

INSTANTIATE_TEST_SUITE_P(
    Table, ChordTiming,
    ::testing::Values(
        ChordCase{"NineTenthsOfASecond", 5, 7, {}, {{kChord, 180}, {0, 1}}, false},
        ChordCase{"OneTickShort", 5, 7, {}, {{kChord, PauseChord::kHoldTicks - 1}}, false},
        ChordCase{"OneSecond", 5, 7, {}, {{kChord, 200}}, true},
        ChordCase{"HeldOnStaysPaused", 5, 7, {}, {{kChord, 1000}}, true},
        ChordCase{"OtherButtonsBesideIt", 5, 7, {}, {{kChord | 1, 200}}, true},
        ChordCase{
            "LetGoAndHeldAgainResumes", 5, 7, {}, {{kChord, 200}, {0, 1}, {kChord, 200}}, false},
        ChordCase{"LettingOneGoStartsAfresh",
                  5,
                  7,
                  {},
                  {{kChord, 150}, {kFive, 1}, {kChord, 150}},
                  false},
        // After a pause both must be let go: one button pressed again is no new hold.
        ChordCase{"OneLetGoAfterThePauseIsNoNewHold",
                  5,
                  7,
                  {},
                  {{kChord, 200}, {kSeven, 5}, {kChord, 200}},
                  true},
        ChordCase{"ThePadsOwnBackAndStart", kOwn, kOwn, {5, 7}, {{kChord, 200}}, true},
        ChordCase{"NoLayoutNoChord", kOwn, kOwn, {}, {{kChord, 400}, {0x3, 400}}, false},
        ChordCase{"NoChordChosen", 0, 0, {5, 7}, {{kChord, 400}}, false},
        ChordCase{"OneButtonTwiceIsRefused", 5, 5, {}, {{kFive, 400}}, false},
        ChordCase{"ThePadsOwnTwiceIsRefused", kOwn, 5, {5, 7}, {{kFive, 400}}, false},
        ChordCase{"Button32IsNoChordButton", 1, 32, {}, {{0x80000001u, 400}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// However the pause comes, a drag in progress ends at once, and while paused neither the
// stick nor a button acts.
TEST(PauseChordTest, APauseLetsGoOfTheButtonsAndStopsMotionAndClicks) {
    for (const bool byChord : {true, false}) {
        SCOPED_TRACE(byChord ? "chord" : "menu");
        Rig rig;
        rig.joystick.SetAxes(kHigh, kRest);
        rig.Hold(1, 30);  // a drag: left button down, the pointer moving, accelerating
        ASSERT_EQ(rig.buttons.Take(), std::vector<E>{E::LeftDown});
        if (byChord) {
            rig.Hold(1 | kChord, PauseChord::kHoldTicks - 1);
            EXPECT_TRUE(rig.buttons.Take().empty()) << "the chord presses nothing";
            rig.Hold(1 | kChord, 1);
        } else {
            rig.engine.SetPaused(true);
        }
        ASSERT_TRUE(rig.engine.Paused());
        EXPECT_EQ(rig.buttons.Take(), std::vector<E>{E::LeftUp});
        EXPECT_EQ(rig.engine.HeldButton(), "");
        const ScreenPoint stopped = rig.pointer.position;
        rig.Hold(0, 1);
        rig.Hold(1, 50);
        rig.Hold(2, 50);
        EXPECT_TRUE(rig.buttons.Take().empty());
        EXPECT_EQ(rig.pointer.position.x, stopped.x);
        EXPECT_EQ(rig.engine.MoveTicks(), 0);
    }
}

// Resumed while the chord is held, its buttons still press nothing as they are let go one by
// one, even when they are mouse buttons; afterwards they click as before.
TEST(PauseChordTest, TheChordsButtonsPressNothingUntilLetGo) {
    Rig rig;
    rig.settings.PauseFirst = 1;
    rig.settings.PauseSecond = 2;
    rig.engine.SetPaused(true);
    rig.Hold(0x3, 200);
    ASSERT_FALSE(rig.engine.Paused());
    rig.Hold(0x1, 5);
    rig.Hold(0, 1);
    EXPECT_TRUE(rig.buttons.Take().empty());
    rig.Hold(0x1, 1);
    rig.Hold(0, 1);
    EXPECT_EQ(rig.buttons.Take(), (std::vector<E>{E::LeftDown, E::LeftUp}));
}

// Paused, the program sleeps with the stick pushed (a game has it) and only a button wakes it;
// the chord held again wakes it, polls through the hold and resumes.
TEST(PauseChordTest, PausedTheSchedulerSleepsUntilTheChord) {
    Rig rig;
    test::FakePollTimer timer;
    test::FakeWakeSource wake;
    PollScheduler scheduler{rig.engine, rig.joystick, timer, wake};
    std::vector<bool> told;
    rig.engine.SetPauseHandler([&told](bool paused) { told.push_back(paused); });
    scheduler.Start();
    rig.joystick.SetAxes(kHigh, kRest);
    rig.joystick.SetButtons(kChord);
    for (int i = 0; i < PauseChord::kHoldTicks; ++i) scheduler.OnTimer();
    ASSERT_TRUE(rig.engine.Paused());
    scheduler.OnTimer();  // the chord still held, the stick pushed: nothing to do
    EXPECT_TRUE(scheduler.Asleep());
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(wake.watchedInput, WakeInput::ButtonsOnly);

    const int reads = rig.joystick.stateReads;
    rig.joystick.SetButtons(0);  // let go: a wake, a tick, asleep again
    wake.Fire();
    EXPECT_TRUE(scheduler.Asleep());
    EXPECT_EQ(rig.joystick.stateReads, reads + 2);  // the tick and the check before sleeping
    rig.joystick.SetButtons(kFive);  // half the chord cannot end the pause: asleep again
    wake.Fire();
    EXPECT_TRUE(scheduler.Asleep());

    rig.joystick.SetButtons(kChord);
    wake.Fire();
    EXPECT_TRUE(scheduler.Polling());
    for (int i = 1; i < PauseChord::kHoldTicks; ++i) scheduler.OnTimer();
    EXPECT_FALSE(rig.engine.Paused());
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
    rig.joystick.SetButtons(0);
    scheduler.OnTimer();
    EXPECT_TRUE(scheduler.Polling()) << "the stick moves the pointer again";
}

}  // namespace
}  // namespace vantrel
