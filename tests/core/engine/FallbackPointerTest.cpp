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

struct Rig {
    LosableOutput first;
    test::FakeMouseButtons firstButtons, nextButtons;
    test::FakeRelativePointer next;
    bool nextExists = true;
    int made = 0, announced = 0;
    FallbackPointer output{{&first, &firstButtons},
                           {.firstLost = [this] { return first.lost; },
                            .makeNext =
                                [this] {
                                    return ++made,
                                           nextExists ? FallbackPointer::Output{&next, &nextButtons}
                                                      : FallbackPointer::Output{};
                                },
                            .announce = [this] { ++announced; }}};
};

TEST(FallbackPointer, LostOutputHandsOverOnceWithTheDroppedMotionAndTheHeldButton) {
    for (const bool nextExists : {true, false}) {
        Rig rig;
        rig.nextExists = nextExists;
        EXPECT_TRUE(rig.output.MoveBy(2, 3));
        rig.output.Send(LeftDown);
        rig.first.lost = true;
        EXPECT_EQ(rig.output.MoveBy(4, 5), nextExists);
        rig.output.Send(LeftUp);
        EXPECT_EQ(rig.output.MoveBy(6, 7), nextExists);
        EXPECT_EQ(rig.first.moves, (std::vector<Move>{{2, 3}}));
        EXPECT_EQ(rig.firstButtons.events, (std::vector<MouseButtonEvent>{LeftDown}));
        EXPECT_EQ(rig.next.moves,
                  nextExists ? (std::vector<Move>{{4, 5}, {6, 7}}) : std::vector<Move>{});
        EXPECT_EQ(rig.nextButtons.events, nextExists
                                              ? (std::vector<MouseButtonEvent>{LeftDown, LeftUp})
                                              : std::vector<MouseButtonEvent>{});
        EXPECT_EQ(rig.made, 1);
        EXPECT_EQ(rig.announced, 1);
    }
}

}  // namespace
}  // namespace vantrel
