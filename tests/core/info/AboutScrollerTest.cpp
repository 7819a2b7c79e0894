// The credits' cycle: scroll in, rest, scroll out, start over.
#include <gtest/gtest.h>

#include "core/info/AboutScroller.h"

namespace vantrel {
namespace {

using Phase = AboutScroller::Phase;

TEST(AboutScrollerTest, AboutWindowPanelCycleAndReset) {
    AboutScroller scroller(2235, 4155);
    EXPECT_EQ(scroller.Top(), 2200);

    for (int tick = 1; tick <= 412; ++tick) {
        scroller.Tick();
        ASSERT_EQ(scroller.Top(), 2200 - 10 * tick) << tick;
        ASSERT_EQ(scroller.PauseCount(), 0) << tick;
    }
    EXPECT_EQ(scroller.Top(), -1920);  // the panel's end meets the viewport's bottom

    for (int tick = 1; tick <= 120; ++tick) {
        scroller.Tick();
        ASSERT_EQ(scroller.Top(), -1920) << tick;
        ASSERT_EQ(scroller.CurrentPhase(), Phase::Resting) << tick;
    }

    for (int tick = 1; tick < 224; ++tick) {
        scroller.Tick();
        ASSERT_EQ(scroller.Top(), -1920 - 10 * tick) << tick;
        ASSERT_EQ(scroller.CurrentPhase(), Phase::ScrollingOut) << tick;
    }
    scroller.Tick();  // the 224th: the panel has left, the cycle starts again
    EXPECT_EQ(scroller.Top(), 2200);
    EXPECT_EQ(scroller.PauseCount(), 0);
    EXPECT_EQ(scroller.CurrentPhase(), Phase::ScrollingIn);

    scroller.Tick();
    EXPECT_EQ(scroller.Top(), 2190);

    // A reset while resting returns to the start.
    while (scroller.CurrentPhase() != Phase::Resting) scroller.Tick();
    scroller.Reset();
    EXPECT_EQ(scroller.Top(), 2200);
    EXPECT_EQ(scroller.PauseCount(), 0);
    scroller.Tick();
    EXPECT_EQ(scroller.Top(), 2190);
}

struct ShortPanel {
    int viewport, panel;
};

class ShortPanelTest : public ::testing::TestWithParam<ShortPanel> {};

TEST_P(ShortPanelTest, RestsFromTheFirstTick) {
    AboutScroller scroller(GetParam().viewport, GetParam().panel);
    for (int tick = 1; tick <= 120; ++tick) {
        scroller.Tick();
        ASSERT_EQ(scroller.Top(), 2200) << tick;
        ASSERT_EQ(scroller.PauseCount(), tick);
    }
    // Then it scrolls out and starts over, resting again at once.
    const int outTicks = (2200 + GetParam().panel) / 10 + 1;
    for (int tick = 1; tick < outTicks; ++tick) {
        scroller.Tick();
        ASSERT_EQ(scroller.Top(), 2200 - 10 * tick) << tick;
    }
    scroller.Tick();
    EXPECT_EQ(scroller.Top(), 2200);
    scroller.Tick();
    EXPECT_EQ(scroller.Top(), 2200);
    EXPECT_EQ(scroller.PauseCount(), 1);
}

// Shorter than the viewport by exactly 2200 twips, by more, and an empty panel.
INSTANTIATE_TEST_SUITE_P(Heights, ShortPanelTest,
                         ::testing::Values(ShortPanel{2235, 35}, ShortPanel{2235, 20},
                                           ShortPanel{3000, 0}),
                         [](const auto& info) {
                             return "Viewport" + std::to_string(info.param.viewport) + "Panel" +
                                    std::to_string(info.param.panel);
                         });

TEST(AboutScrollerTest, OneTwipTooTallScrollsOnceFirst) {
    AboutScroller scroller(2235, 36);
    scroller.Tick();
    EXPECT_EQ(scroller.Top(), 2190);
    EXPECT_EQ(scroller.PauseCount(), 0);
    scroller.Tick();
    EXPECT_EQ(scroller.Top(), 2190);
    EXPECT_EQ(scroller.PauseCount(), 1);
}

TEST(AboutScrollerTest, HugePanelKeepsScrollingOutPastTheCounterLimit) {
    // The counter saturates instead of wrapping into a new pause.
    AboutScroller scroller(400000, 400000);  // 40000 ticks to scroll out
    while (scroller.PauseCount() == 0) scroller.Tick();
    for (int tick = 0; tick < 120; ++tick) scroller.Tick();
    int top = scroller.Top();
    for (int tick = 0; tick < 35000; ++tick) {
        scroller.Tick();
        ASSERT_EQ(scroller.Top(), top - 10) << tick;
        top = scroller.Top();
    }
    EXPECT_EQ(scroller.PauseCount(), 32767);
}

}  // namespace
}  // namespace vantrel
