// The multimedia joystick backend: the records it converts, and discovery where no joystick is.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <tuple>

#include "core/engine/JoystickDiscovery.h"
#include "platform/joystick/winmm/WinJoystickRecords.h"
#include "platform/joystick/winmm/WinJoysticks.h"
#include "support/Wine.h"

namespace vantrel {
namespace {

JOYCAPSA Record(const char* name, std::size_t nameBytes) {
    JOYCAPSA record{};
    record.wMid = 0x045e;
    record.wPid = 0x028e;
    std::memcpy(record.szPname, name, nameBytes);
    record.wXmin = 1;
    record.wXmax = 65534;
    record.wYmax = 65535;
    record.wZmax = 255;
    record.wNumButtons = 12;
    record.wPeriodMin = 10;
    record.wPeriodMax = 1000;
    return record;
}

// A name shorter than the record's 32 bytes ends at its NUL; one that fills them all is kept
// whole, with nothing read beyond.
TEST(WinJoystickRecords, CapabilitiesCarryNameAndButtons) {
    for (const auto& [name, bytes] :
         {std::pair{"Gamepad F310", 13}, std::pair{"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", 32}}) {
        const JoystickInfo caps = CapsFromRecord(Record(name, bytes));
        EXPECT_EQ(caps.name, name);
        EXPECT_EQ(caps.buttonCount, 12u) << name;
    }
}

// Back and Start are known only for an XInput pad's maker with XInput's ten buttons.
TEST(WinJoystickRecords, BackAndStartOfXInputPads) {
    for (const auto& [maker, buttons, backStart] :
         {std::tuple{0x045e, 10, std::array<std::int16_t, 2>{7, 8}},
          {0x2dc8, 10, {7, 8}},
          {0x045e, 12, {0, 0}},
          {0x054c, 10, {0, 0}}}) {
        JOYCAPSA record = Record("Pad", 4);
        record.wMid = static_cast<WORD>(maker);
        record.wNumButtons = static_cast<UINT>(buttons);
        EXPECT_EQ(CapsFromRecord(record).backStartButtons, backStart) << maker;
    }
}

TEST(WinJoystickRecords, NameInTheSystemCodePageBecomesUtf8) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252, have " << GetACP();
    const JoystickInfo caps = CapsFromRecord(Record("Man\xe9ge \x80", 9));
    EXPECT_EQ(caps.name, "Man\xc3\xa9ge \xe2\x82\xac");
}

TEST(WinJoystickRecords, StateTakesMainAxesAndAllThirtyTwoButtons) {
    JOYINFOEX record{};
    record.dwXpos = 149;
    record.dwYpos = 63851;
    record.dwZpos = 7;
    record.dwButtons = 0x80000001u;
    const JoystickState state = StateFromRecord(record);
    EXPECT_EQ(state.x, 149u);
    EXPECT_EQ(state.y, 63851u);
    EXPECT_EQ(state.buttons, 0x80000001u);
}

TEST(WinJoystickRecords, SecondStickIsReadFromTheAxesTheFlagsAndAxisCountName) {
    JOYINFOEX record{};
    record.dwZpos = 30000, record.dwRpos = 31000, record.dwUpos = 32000, record.dwVpos = 33000;
    const struct {
        WORD flags, axes;
        std::uint32_t x, y;
    } cases[] = {{JOYCAPS_HASZ | JOYCAPS_HASR | JOYCAPS_HASU, 5, 32000, 31000},
                 {JOYCAPS_HASZ | JOYCAPS_HASR | JOYCAPS_HASU | JOYCAPS_HASV, 6, 30000, 31000},
                 {JOYCAPS_HASZ | JOYCAPS_HASPOV, 3, 32767, 32767}};
    for (const auto& c : cases) {
        JOYCAPSA caps = Record("Pad", 3);
        caps.wCaps = c.flags, caps.wNumAxes = c.axes;
        const std::optional<RecordScrollAxes> scroll = ScrollAxesOfRecord(AxesAtOpen(caps, record));
        const JoystickState state = StateFromRecord(record, scroll);
        EXPECT_EQ(state.scrollX, c.x) << c.flags;
        EXPECT_EQ(state.scrollY, c.y) << c.flags;
    }
}

TEST(WinJoysticks, NegativeIdsAreAbsent) {
    WinJoysticks joysticks;
    JoystickInfo caps;
    JoystickState state;
    EXPECT_FALSE(joysticks.ReadInfo(-1, caps));
    EXPECT_FALSE(joysticks.ReadState(-1, state));
}

// Wine here has no joystick attached; a Windows machine may well have one.
TEST(WinJoysticks, WithoutJoysticksNothingCountsAndRecordsStayAsTheyWere) {
    if (!test::RunningUnderWine()) GTEST_SKIP() << "needs a machine without joysticks: wine";
    WinJoysticks joysticks;
    EXPECT_EQ(CountJoysticks(joysticks), 0);

    JoystickInfo caps;
    caps.name = "kept";
    caps.buttonCount = 5;
    Settings settings;
    settings.JoystickId = 0;
    ReadJoystickInfo(joysticks, settings, caps);
    EXPECT_EQ(caps.name, "kept");
    EXPECT_EQ(caps.buttonCount, 5u);

    JoystickState state{1, 2, 3};
    EXPECT_FALSE(joysticks.ReadState(0, state));
    EXPECT_EQ(state.x, 1u);
    EXPECT_EQ(state.y, 2u);
    EXPECT_EQ(state.buttons, 3u);
}

}  // namespace
}  // namespace vantrel
