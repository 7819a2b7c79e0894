#include "core/engine/PollScheduler.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/EngineRig.h"
#include "support/fakes/FakeJoystick.h"
#include "support/fakes/FakeMouseButtons.h"
#include "support/fakes/FakePointer.h"
#include "support/fakes/FakeWake.h"

namespace vantrel {
namespace {

using test::FakePollTimer;
using test::FakeWakeSource;

using test::kHigh;
using test::kLow;
using test::kRest;

// The scheduler over the engine's fakes and a fake timer and wake source; the pause chord's
// timing, what a pause stops and that a paused program sleeps until a button.
struct Rig : test::EngineRig {
    FakePollTimer timer;
    FakeWakeSource wake;
    PollScheduler scheduler{engine, joystick, timer, wake};

    Rig() {
        WideScreen();
        scheduler.Start();
    }
    // A timer tick, as the event loop delivers it only while the timer runs.
    void Tick() {
        ASSERT_TRUE(timer.running);
        scheduler.OnTimer();
    }
};

// --- the pause chord: buttons 5 and 7, the stick held to the right as a game would ---

using E = MouseButtonEvent;
constexpr std::uint32_t kFive = 0x10, kChord = 0x50;
constexpr std::uint32_t kMenu = ~0u;  // not buttons: the tray entry chosen
constexpr std::int16_t kOwn = kPadsOwnButton;

struct ChordRig : Rig {
    ChordRig() {
        settings.PauseFirst = 5;
        settings.PauseSecond = 7;
        joystick.SetAxes(kHigh, kRest);
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
    ChordRig rig;
    rig.settings.PauseFirst = c.first;
    rig.settings.PauseSecond = c.second;
    rig.engine.SetBackStartButtons(c.backStart);
    for (const auto& [buttons, ticks] : c.holds) rig.Hold(buttons, ticks);
    EXPECT_EQ(rig.engine.Paused(), c.paused);
    EXPECT_EQ(rig.scheduler.Asleep(), c.paused);
    EXPECT_EQ(rig.timer.running, !c.paused);
    if (c.paused) {
        EXPECT_EQ(rig.wake.watchedInput, WakeInput::ButtonsOnly);
    }
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
        ChordRig rig;
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

// Per timer tick: the reading, and whether the timer still runs after that tick.
struct Reading {
    std::uint32_t x = kRest, y = kRest, buttons = 0;
    bool timerRunsAfter;
    std::uint32_t scrollY = kRest;  // the pad's second stick, which scrolls
};
struct TimerCase {
    const char* name;
    std::vector<Reading> ticks;
    std::int16_t leftButton = 1;
};

class TimerStopTest : public ::testing::TestWithParam<TimerCase> {};

TEST_P(TimerStopTest, StopsAfterTheFirstTickThatFindsRest) {
    const TimerCase& c = GetParam();
    Rig rig;
    rig.settings.LeftButton = c.leftButton;
    int n = 0;
    for (const Reading& r : c.ticks) {
        SCOPED_TRACE(::testing::Message() << "tick " << ++n);
        rig.joystick.SetAxes(r.x, r.y);
        rig.joystick.SetButtons(r.buttons);
        rig.ScrollStickAt(kRest, r.scrollY);
        rig.Tick();
        EXPECT_EQ(rig.timer.running, r.timerRunsAfter);
        EXPECT_EQ(rig.scheduler.Asleep(), !r.timerRunsAfter);
        if (!r.timerRunsAfter) return;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimerStopTest,
    ::testing::Values(
        TimerCase{"RestFromTheStart", {{kRest, kRest, 0, false}}},
        TimerCase{"DeadZoneEdgesAreRest", {{63850, kRest, 0, false}, {kRest, 63850, 0, false}}},
        TimerCase{"OnePastTheEdgeMoves", {{149, kRest, 0, true}, {kRest, 63851, 0, true}}},
        // The tick that lets go of the stick ends the run and reloads the step: nothing is left.
        TimerCase{"AfterAMoveTheFirstRestTick",
                  {{kLow, kRest, 0, true}, {kLow, kLow, 0, true}, {kRest, kRest, 0, false}}},
        // The release goes out on the tick that finds the button up; then nothing is left.
        TimerCase{"HeldButtonUntilItsRelease",
                  {{kRest, kRest, 1, true}, {kRest, kRest, 1, true}, {kRest, kRest, 0, false}}},
        // An unmapped button still counts: an Apply may map it while it is held.
        TimerCase{"UnmappedButtonHeld", {{kRest, kRest, 8, true}, {kRest, kRest, 0, false}}},
        TimerCase{"HighButtonHeld",
                  {{kRest, kRest, 0x10000, true},
                   {kRest, kRest, 0x10000, true},
                   {kRest, kRest, 0x10000, true},
                   {kRest, kRest, 0, false}},
                  17},
        // Button 32 acts as no button, on every tick: nothing for a tick to do.
        TimerCase{"Button32Alone", {{kRest, kRest, 0x80000000u, false}}},
        TimerCase{"Button32AfterAPress",
                  {{kRest, kRest, 1, true}, {kRest, kRest, 0x80000001u, false}}},
        // A scroll stick off-centre is not rest; the tick that finds it back ends the scroll.
        TimerCase{"ScrollUntilTheStickReturns",
                  {{kRest, kRest, 0, true, kLow},
                   {kRest, kRest, 0, true, kLow},
                   {kRest, kRest, 0, false}}},
        TimerCase{"ScrollStickInsideItsDeadZone", {{kRest, kRest, 0, false, 26542}}}),
    [](const ::testing::TestParamInfo<TimerCase>& info) { return std::string(info.param.name); });

// Without a node to watch, and with a high button held (which presses once), the timer runs on.
TEST(PollSchedulerTest, WhatCannotSleepKeepsTheTimer) {
    for (const bool watchable : {false, true}) {
        SCOPED_TRACE(watchable ? "button 31 held" : "no node to watch");
        Rig rig;
        rig.wake.watchable = watchable;
        rig.settings.LeftButton = 31;
        if (watchable) rig.joystick.SetButtons(0x40000000);
        for (int i = 0; i < 400; ++i) rig.Tick();
        EXPECT_TRUE(rig.timer.running);
        EXPECT_FALSE(rig.wake.armed);
        EXPECT_EQ(rig.buttons.Take(), watchable ? std::vector<E>{E::LeftDown} : std::vector<E>{});
    }
}

TEST(PollSchedulerTest, WatchesTheDeviceTheEngineReads) {
    Rig rig;
    rig.joystick.Plug(1);
    rig.settings.JoystickId = 1;
    rig.Tick();
    EXPECT_EQ(rig.wake.watchedId, 1);
}

// With no pad to read only the device list is watched; a pad plugged in while the source was
// being armed must not be slept through.
TEST(PollSchedulerTest, WithoutAPadAPadPluggedWhileArmingKeepsPolling) {
    Rig rig;
    rig.joystick.Unplug(0);
    rig.Tick();
    ASSERT_TRUE(rig.scheduler.Asleep());
    EXPECT_EQ(rig.wake.watchedId, -1);

    rig.wake.duringWatch = [&] { rig.joystick.PlugLast(); };
    rig.wake.Fire();
    EXPECT_TRUE(rig.timer.running) << "slept through the pad's arrival";
    rig.wake.duringWatch = nullptr;
    rig.Tick();
    EXPECT_EQ(rig.engine.DeviceToRead(), 0);
    EXPECT_TRUE(rig.scheduler.Asleep());
    EXPECT_EQ(rig.wake.watchedId, 0);
}

TEST(PollSchedulerTest, AWakeTicksAtOnceThenPollsUntilRest) {
    Rig rig;
    rig.Tick();
    ASSERT_TRUE(rig.scheduler.Asleep());
    const int startsAsleep = rig.timer.starts;
    rig.joystick.SetAxes(kRest + 900, kRest - 40);  // a jittery stick inside the dead zone
    rig.wake.Fire();                                // finds rest: sleeps on without the timer
    EXPECT_TRUE(rig.scheduler.Asleep());
    EXPECT_TRUE(rig.wake.armed);
    EXPECT_EQ(rig.timer.starts, startsAsleep);

    rig.joystick.SetAxes(kHigh, kRest);
    rig.wake.Fire();
    EXPECT_EQ(rig.pointer.position.x, 642);  // moved by the wake itself, not a timer tick later
    EXPECT_TRUE(rig.timer.running);
    EXPECT_EQ(rig.timer.starts, startsAsleep + 1);
    EXPECT_FALSE(rig.wake.armed);

    const auto placements = rig.pointer.placements;
    rig.wake.Fire();  // while polling the next tick sees any change: no extra tick
    rig.scheduler.OnSettingsChanged();  // nor for an Apply
    EXPECT_EQ(rig.pointer.placements, placements);
    rig.Tick();
    EXPECT_EQ(rig.pointer.position.x, 644);
    rig.joystick.SetAxes(kRest, kRest);
    rig.Tick();
    EXPECT_TRUE(rig.scheduler.Asleep());
    EXPECT_FALSE(rig.timer.running);
}

TEST(PollSchedulerTest, InputArrivingWhileArmingKeepsTheTimer) {
    for (const bool scroll : {false, true}) {
        SCOPED_TRACE(scroll ? "scroll stick" : "button");
        Rig rig;
        rig.ScrollStickAt(kRest, kRest);
        rig.wake.duringWatch = [&] {
            scroll ? rig.ScrollStickAt(kRest, kLow) : rig.joystick.SetButtons(1);
        };
        rig.Tick();
        EXPECT_TRUE(rig.timer.running);
        EXPECT_FALSE(rig.wake.armed);
        rig.wake.duringWatch = nullptr;
        rig.Tick();
        if (scroll)
            EXPECT_EQ(rig.scroll.turns.size(), 1u);
        else
            EXPECT_EQ(rig.buttons.Take(), std::vector<E>{E::LeftDown});
    }
}

TEST(PollSchedulerTest, ApplyWhileAsleepPutsTheNewSpeedInForceForTheNextMove) {
    for (const bool applyTicks : {true, false}) {
        SCOPED_TRACE(applyTicks ? "OnSettingsChanged" : "no notice");
        Rig rig;
        rig.Tick();
        ASSERT_TRUE(rig.scheduler.Asleep());
        rig.settings.PointerSpeed = "5";
        if (applyTicks) rig.scheduler.OnSettingsChanged();
        EXPECT_TRUE(rig.scheduler.Asleep());
        rig.joystick.SetAxes(kLow, kRest);
        rig.wake.Fire();
        // Polling would have reloaded the step on the idle ticks after the Apply.
        EXPECT_EQ(rig.pointer.position.x, applyTicks ? 635 : 638);
    }
}

TEST(PollSchedulerTest, AfterStopNothingTicksOrWakes) {
    Rig rig;
    rig.Tick();
    rig.scheduler.Stop();
    EXPECT_FALSE(rig.wake.armed);
    rig.joystick.SetAxes(kLow, kRest);
    rig.scheduler.OnWake();
    rig.scheduler.OnSettingsChanged();
    EXPECT_EQ(rig.pointer.placements, 0);
    EXPECT_FALSE(rig.timer.running);
}

// One scripted session, in 5 ms steps, through a scheduler that polls on every step and one
// that sleeps whenever it may. Both logs hold, per step, the pointer placements and button
// events; they must be the same.
struct ScriptStep {
    int steps;                             // how long this reading lasts
    std::optional<JoystickState> reading;  // nullopt: the device is unplugged
    const char* speed = nullptr;           // an Apply with this speed at the start of the step
};

bool SameReading(const std::optional<JoystickState>& a, const std::optional<JoystickState>& b) {
    if (!a || !b) return !a && !b;
    return a->x == b->x && a->y == b->y && a->buttons == b->buttons;
}

std::vector<std::string> RunSession(const std::vector<ScriptStep>& script, bool mayWatch) {
    Rig rig;
    rig.wake.watchable = mayWatch;
    std::vector<std::string> log;
    std::size_t placementsSeen = 0;
    int now = 0;
    std::optional<JoystickState> current = JoystickState{};
    for (const ScriptStep& part : script) {
        for (int i = 0; i < part.steps; ++i, ++now) {
            const bool timerWasRunning = rig.timer.running;
            if (i == 0) {
                if (part.speed != nullptr) {
                    rig.settings.PointerSpeed = part.speed;
                    rig.scheduler.OnSettingsChanged();
                }
                if (!SameReading(part.reading, current)) {
                    if (part.reading)
                        rig.joystick.Plug(0).state = *part.reading;
                    else
                        rig.joystick.Unplug(0);
                    current = part.reading;
                    rig.wake.Fire();  // the node or the device monitor saw it
                }
            }
            // A timer started during this step fires one interval later.
            if (timerWasRunning && rig.timer.running) rig.scheduler.OnTimer();
            const std::string at = std::to_string(now);
            const auto placed = rig.pointer.Placements();
            for (; placementsSeen < placed.size(); ++placementsSeen) {
                const ScreenPoint p = placed[placementsSeen];
                log.push_back(at + " place " + std::to_string(p.x) + "," + std::to_string(p.y));
            }
            for (const MouseButtonEvent e : rig.buttons.Take())
                log.push_back(at + " button " + std::to_string(static_cast<int>(e)));
        }
    }
    return log;
}

TEST(PollSchedulerTest, SleepingGivesTheSameMovesAndButtonsAsPolling) {
    const auto at = [](std::uint32_t x, std::uint32_t y, std::uint32_t buttons = 0) {
        return std::optional<JoystickState>(JoystickState{x, y, buttons});
    };
    const std::vector<ScriptStep> script = {
        {30, at(kRest, kRest)},
        {90, at(kLow, kRest)},  // an acceleration run past 20, 40, 60 and 80 ticks
        {3, at(kRest + 500, kRest)},
        {25, at(kHigh, kLow)},
        {10, at(kRest, kRest)},
        {10, at(kRest, kRest), "7"},  // an Apply while at rest
        {4, at(kRest, kHigh)},        // the new speed from the first move
        {8, at(kRest, kRest, 1)},     // a click
        {12, at(kRest, kRest)},
        {5, at(kRest, kRest, 2)},  // a chord: right, then left with it, then right alone
        {5, at(kRest, kRest, 3)},
        {5, at(kRest, kRest, 1)},
        {5, at(kRest, kRest, 0)},
        {6, at(kHigh, kRest, 4)},  // the middle button held while moving
        {6, std::nullopt},         // unplugged with the button down
        {20, std::nullopt},
        {6, at(kRest, kRest)},  // plugged in again
        {6, at(kRest, kLow, 0x80000000u)},
        {10, at(kRest, kRest)},
    };
    const auto polled = RunSession(script, false);
    const auto slept = RunSession(script, true);
    ASSERT_GT(polled.size(), 150u);
    EXPECT_EQ(slept, polled);
}

}  // namespace
}  // namespace vantrel
