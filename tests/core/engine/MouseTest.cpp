#include "core/engine/Mouse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "support/fakes/FakePointer.h"

namespace vantrel {
namespace {

using test::FakePointer;

struct WriteCase {
    double value;
    bool ok;
    std::int32_t expected;  // when ok
};

// A write on the X axis (false) or the Y axis (true).
class MouseWriteTest : public ::testing::TestWithParam<std::tuple<bool, WriteCase>> {};

TEST_P(MouseWriteTest, RoundsToNearestEvenOrFailsWithoutMoving) {
    const auto [onY, c] = GetParam();
    FakePointer pointer;
    pointer.minX = pointer.minY = std::numeric_limits<std::int32_t>::min();
    pointer.maxX = pointer.maxY = std::numeric_limits<std::int32_t>::max();
    pointer.position = {640, 512};
    Mouse mouse(pointer);

    EXPECT_EQ(onY ? mouse.SetY(c.value) : mouse.SetX(c.value), c.ok);
    if (c.ok) {
        ASSERT_EQ(pointer.Placements().size(), 1u);
        EXPECT_EQ(pointer.Placements()[0].x, onY ? 640 : c.expected);
        EXPECT_EQ(pointer.Placements()[0].y, onY ? c.expected : 512);
    } else {
        EXPECT_TRUE(pointer.Placements().empty());
        EXPECT_EQ(pointer.position.x, 640);
        EXPECT_EQ(pointer.position.y, 512);
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, MouseWriteTest,
    ::testing::Combine(
        ::testing::Bool(),
        ::testing::Values(
            WriteCase{97.2, true, 97}, WriteCase{99.5, true, 100}, WriteCase{100.5, true, 100},
            WriteCase{101.5, true, 102}, WriteCase{-0.5, true, 0}, WriteCase{-1.5, true, -2},
            WriteCase{-2.5, true, -2}, WriteCase{-0.4, true, 0}, WriteCase{-97.7, true, -98},
            WriteCase{2147483647.4, true, 2147483647}, WriteCase{2147483647.5, false, 0},
            WriteCase{-2147483648.5, true, -2147483647 - 1}, WriteCase{-2147483648.6, false, 0},
            WriteCase{1e300, false, 0}, WriteCase{kNaN, false, 0}, WriteCase{-kInf, false, 0})));

// Each access costs the queries it needs: a write reads the other axis where the pointer is now;
// a write that cannot be made fails before touching the window system.
TEST(MouseTest, WriteKeepsTheOtherAxisWhereThePointerIsNow) {
    FakePointer pointer;
    Mouse mouse(pointer);
    EXPECT_EQ(mouse.Position().x, 640);
    EXPECT_EQ(pointer.queries, 1);
    pointer.position = {300, 200};  // the real mouse moved since the last read
    ASSERT_TRUE(mouse.SetY(10));
    EXPECT_EQ(pointer.position.x, 300);
    EXPECT_EQ(pointer.position.y, 10);
    EXPECT_EQ(pointer.queries, 2);
    ASSERT_TRUE(mouse.SetX(20));
    EXPECT_EQ(pointer.position.x, 20);
    EXPECT_EQ(pointer.position.y, 10);
    EXPECT_FALSE(mouse.SetY(2147483648.0));
    EXPECT_EQ(pointer.queries, 3);
    EXPECT_EQ(pointer.placements, 2);
}

TEST(MouseTest, ReadAfterWritingPastTheEdgeGivesTheConfinedPosition) {
    FakePointer pointer;
    Mouse mouse(pointer);
    ASSERT_TRUE(mouse.SetX(-25));
    EXPECT_EQ(mouse.X(), 0);
    ASSERT_TRUE(mouse.SetY(5000));
    EXPECT_EQ(mouse.Y(), 1023);
}

TEST(MouseTest, FailedQueryAnswersWithTheLastPointRead) {
    FakePointer pointer;
    pointer.failQueries = true;
    Mouse mouse(pointer);
    EXPECT_EQ(mouse.X(), 0);  // nothing read yet
    EXPECT_EQ(mouse.Y(), 0);

    pointer.failQueries = false;
    pointer.position = {33, 44};
    EXPECT_EQ(mouse.Position().x, 33);
    pointer.failQueries = true;
    pointer.position = {1, 2};
    EXPECT_EQ(mouse.X(), 33);
    EXPECT_EQ(mouse.Y(), 44);
    // A write then uses the stale coordinate for the untouched axis.
    ASSERT_TRUE(mouse.SetX(7));
    EXPECT_EQ(pointer.Placements().back().y, 44);
}

}  // namespace
}  // namespace vantrel
