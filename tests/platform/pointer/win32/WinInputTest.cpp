// The pointer placed and read in screen pixels, the six button events reaching the system's
// input state, and the wheels turning in a window. Under wine these need no display: its null
// driver keeps them.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "core/engine/Mouse.h"
#include "platform/pointer/win32/WinMouseButtons.h"
#include "platform/pointer/win32/WinPointer.h"
#include "platform/pointer/win32/WinScroll.h"
#include "support/Wine.h"

namespace vantrel {
namespace {

bool Pressed(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}
// The pointer where WinPointer reads it.
std::pair<int, int> At() {
    ScreenPoint read{-1, -1};
    EXPECT_TRUE(WinPointer().QueryPosition(read));
    return {read.x, read.y};
}

class WinPointerTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(pointer_.QueryPosition(saved_)); }
    // Leave the pointer where the user had it.
    void TearDown() override { pointer_.PlaceAt(saved_.x, saved_.y); }

    WinPointer pointer_;
    ScreenPoint saved_;
};

TEST_F(WinPointerTest, PlacedPositionReadsBackStoppedAtTheDesktopsEdge) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int bottom =
        GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1;
    const struct {
        ScreenPoint target, expected;
    } cases[] = {{{123, 234}, {123, 234}},
                 {{0, 0}, {0, 0}},
                 {{7, 1}, {7, 1}},
                 {{left - 5000, 1'000'000}, {left, bottom}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(pointer_.PlaceAt(c.target.x, c.target.y));
        EXPECT_EQ(At(), std::pair(c.expected.x, c.expected.y)) << c.target.x << ", " << c.target.y;
    }
}

TEST_F(WinPointerTest, MouseMovesOneAxisAndKeepsTheOther) {
    ASSERT_TRUE(pointer_.PlaceAt(100, 200));
    Mouse mouse(pointer_);
    ASSERT_TRUE(mouse.SetX(97.2));
    EXPECT_EQ(mouse.X(), 97);
    EXPECT_EQ(mouse.Y(), 200);
    // A move made outside the engine in between is kept.
    ASSERT_TRUE(pointer_.PlaceAt(50, 60));
    ASSERT_TRUE(mouse.SetY(100.5));
    EXPECT_EQ(mouse.X(), 50);
    EXPECT_EQ(mouse.Y(), 100);
}

class WinMouseButtonsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Clicks land wherever the pointer is: never on a real desktop.
        if (!test::RunningUnderWine()) GTEST_SKIP() << "injects real clicks: wine only";
        // The tests name the physical buttons.
        ASSERT_EQ(GetSystemMetrics(SM_SWAPBUTTON), 0);
    }
    WinMouseButtons buttons_;
};

TEST_F(WinMouseButtonsTest, EachButtonGoesDownAndUpWhereThePointerIs) {
    WinPointer pointer;
    ASSERT_TRUE(pointer.PlaceAt(300, 200));
    struct Case {
        MouseButtonEvent down, up;
        int key;
    };
    for (const Case c :
         {Case{MouseButtonEvent::LeftDown, MouseButtonEvent::LeftUp, VK_LBUTTON},
          Case{MouseButtonEvent::RightDown, MouseButtonEvent::RightUp, VK_RBUTTON},
          Case{MouseButtonEvent::MiddleDown, MouseButtonEvent::MiddleUp, VK_MBUTTON}}) {
        SCOPED_TRACE(c.key);
        ASSERT_TRUE(buttons_.Inject(c.down));
        EXPECT_TRUE(Pressed(c.key));
        for (const int other : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
            if (other != c.key) {
                EXPECT_FALSE(Pressed(other)) << other;
            }
        }
        ASSERT_TRUE(buttons_.Inject(c.up));
        EXPECT_FALSE(Pressed(c.key));
    }
    EXPECT_EQ(At(), std::pair(300, 200));
}

TEST_F(WinMouseButtonsTest, ValuesOtherThanTheSixButtonEventsAreNotSent) {
    WinPointer pointer;
    ASSERT_TRUE(pointer.PlaceAt(300, 200));
    // A value outside the six must not reach SendInput as some other flag (a move, a wheel turn).
    for (const std::uint8_t value : {6u, 7u, 0x40u, 0xffu}) {
        EXPECT_FALSE(buttons_.Inject(static_cast<MouseButtonEvent>(value))) << int{value};
    }
    EXPECT_EQ(At(), std::pair(300, 200));
    EXPECT_FALSE(Pressed(VK_LBUTTON));
    EXPECT_FALSE(Pressed(VK_RBUTTON));
}

using Wheel = std::pair<UINT, int>;  // the message and its delta

// A window in front with the focus and the pointer over it, and the wheel messages it got, read
// off the thread's queue as they come. A button, since a static control lets the pointer through.
class WheelWindow {
  public:
    WheelWindow()
        : window_(CreateWindowExW(0, L"BUTTON", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                  400, 300, nullptr, nullptr, nullptr, nullptr)) {
        SetForegroundWindow(window_);
        SetFocus(window_);
        SetCursorPos(300, 250);
    }
    ~WheelWindow() { DestroyWindow(window_); }

    // Runs the thread's messages until `count` wheel messages have come (or thirty seconds
    // passed), and hands them over.
    std::vector<Wheel> Take(std::size_t count) {
        std::vector<Wheel> seen;
        for (const ULONGLONG end = GetTickCount64() + 30000;
             seen.size() < count && GetTickCount64() < end;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) {
                if (m.message == WM_MOUSEWHEEL || m.message == WM_MOUSEHWHEEL)
                    seen.emplace_back(m.message, GET_WHEEL_DELTA_WPARAM(m.wParam));
                DispatchMessageW(&m);
            }
        }
        return seen;
    }

  private:
    HWND window_;
};

TEST(WinScrollTest, WheelsTurnByThePortsUnitsUpAndRightPositive) {
    if (!test::RunningUnderWine()) GTEST_SKIP() << "injects real wheel turns: wine only";
    WheelWindow window;
    WinScroll scroll;
    ASSERT_TRUE(scroll.ScrollBy(0, 0));  // turns nothing: the next case's messages come first
    const struct {
        std::int32_t horizontal, vertical;
        std::vector<Wheel> expected;
    } cases[] = {{0, 120, {{WM_MOUSEWHEEL, 120}}},
                 {0, -40, {{WM_MOUSEWHEEL, -40}}},
                 {90, 0, {{WM_MOUSEHWHEEL, 90}}},
                 {-30, 240, {{WM_MOUSEWHEEL, 240}, {WM_MOUSEHWHEEL, -30}}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(scroll.ScrollBy(c.horizontal, c.vertical));
        EXPECT_EQ(window.Take(c.expected.size()), c.expected) << c.horizontal << ", " << c.vertical;
    }
}

}  // namespace
}  // namespace vantrel
