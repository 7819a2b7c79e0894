#include <gtest/gtest.h>

#include <vector>

#include "core/engine/FallbackPointer.h"
#include "support/fakes/FakeMouseButtons.h"
#include "support/fakes/FakeRelativePointer.h"

namespace vantrel {
namespace {

using Move = test::FakeRelativePointer::Move;
using enum MouseButtonEvent;

// An output that refuses every move once lost, as the wlroots output does.
struct LosableOutput : test::FakeRelativePointer {
    bool lost = false;
    bool MoveBy(std::int32_t dx, std::int32_t dy) override {
        return !lost && FakeRelativePointer::MoveBy(dx, dy);
    }
};

// With a next output (true) and with none to hand over to (false).
class FallbackPointerTest : public ::testing::TestWithParam<bool> {};

TEST_P(FallbackPointerTest, LostOutputHandsOverOnceWithTheDroppedMotionAndTheHeldButton) {
    LosableOutput first, next;
    test::FakeMouseButtons firstButtons, nextButtons;
    int made = 0, announced = 0;
    const FallbackPointer::Output nextOutput =
        GetParam() ? FallbackPointer::Output{&next, &nextButtons} : FallbackPointer::Output{};
    FallbackPointer output({&first, &firstButtons}, {.firstLost = [&] { return first.lost; },
                                                     .makeNext = [&] { return ++made, nextOutput; },
                                                     .announce = [&] { ++announced; }});
    EXPECT_TRUE(output.MoveBy(2, 3));
    output.Send(LeftDown);
    first.lost = true;
    EXPECT_EQ(output.MoveBy(4, 5), GetParam());
    output.Send(LeftUp);
    EXPECT_EQ(output.MoveBy(6, 7), GetParam());
    EXPECT_EQ(first.moves, (std::vector<Move>{{2, 3}}));
    EXPECT_EQ(firstButtons.events, (std::vector<MouseButtonEvent>{LeftDown}));
    if (GetParam()) {
        EXPECT_EQ(next.moves, (std::vector<Move>{{4, 5}, {6, 7}}));
        EXPECT_EQ(nextButtons.events, (std::vector<MouseButtonEvent>{LeftDown, LeftUp}));
    }
    EXPECT_EQ(made, 1);
    EXPECT_EQ(announced, 1);
}

INSTANTIATE_TEST_SUITE_P(NextOrNone, FallbackPointerTest, ::testing::Bool());

}  // namespace
}  // namespace vantrel
