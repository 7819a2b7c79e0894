// The multimedia joystick backend: the records it converts, and discovery where no joystick is.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/JoystickDiscovery.h"
#include "platform/win32/WinJoystickRecords.h"
#include "platform/win32/WinJoysticks.h"
#include "platform/win32/Wine.h"

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

TEST(WinJoystickRecords, CapabilitiesCarryNameButtonsAndRanges) {
    const JoyCaps caps = CapsFromRecord(Record("Gamepad F310", 13));
    EXPECT_EQ(caps.Name(), "Gamepad F310");
    EXPECT_EQ(caps.szPname[12], '\0');
    EXPECT_EQ(caps.szPname[31], '\0');
    EXPECT_EQ(caps.wNumButtons, 12u);
    EXPECT_EQ(caps.wMid, 0x045e);
    EXPECT_EQ(caps.wPid, 0x028e);
    EXPECT_EQ(caps.wXmin, 1u);
    EXPECT_EQ(caps.wXmax, 65534u);
    EXPECT_EQ(caps.wYmax, 65535u);
    EXPECT_EQ(caps.wZmax, 255u);
    EXPECT_EQ(caps.wPeriodMin, 10u);
    EXPECT_EQ(caps.wPeriodMax, 1000u);
}

TEST(WinJoystickRecords, NameFillingAllThirtyTwoBytesKeepsThirtyOne) {
    // No NUL inside the record's name: the last byte gives way to the end mark.
    const JoyCaps caps = CapsFromRecord(Record("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", 32));
    EXPECT_EQ(caps.Name(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(caps.szPname[31], '\0');
}

TEST(WinJoystickRecords, NameInTheSystemCodePageBecomesUtf8) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252, have " << GetACP();
    const JoyCaps caps = CapsFromRecord(Record("Man\xe9ge \x80", 9));
    EXPECT_EQ(caps.Name(), "Man\xc3\xa9ge \xe2\x82\xac");
}

TEST(WinJoystickRecords, StateTakesMainAxesAndAllThirtyTwoButtons) {
    JOYINFOEX record{};
    record.dwXpos = 149;
    record.dwYpos = 63851;
    record.dwZpos = 7;
    record.dwButtons = 0x80000001u;
    const JoyState state = StateFromRecord(record);
    EXPECT_EQ(state.x, 149u);
    EXPECT_EQ(state.y, 63851u);
    EXPECT_EQ(state.buttons, 0x80000001u);
}

TEST(WinJoysticks, NegativeIdsAreAbsent) {
    WinJoysticks joysticks;
    JoyCaps caps;
    JoyState state;
    EXPECT_FALSE(joysticks.ReadCaps(-1, caps));
    EXPECT_FALSE(joysticks.ReadState(-1, state));
}

// Wine here has no joystick attached; a Windows machine may well have one.
TEST(WinJoysticks, WithoutJoysticksNothingCountsAndRecordsStayAsTheyWere) {
    if (!test::RunningUnderWine()) GTEST_SKIP() << "needs a machine without joysticks: wine";
    WinJoysticks joysticks;
    EXPECT_EQ(CountJoysticks(joysticks), 0);

    JoyCaps caps;
    caps.SetName("kept");
    caps.wNumButtons = 5;
    Settings settings;
    settings.JoystickId = 0;
    ReadJoystickCaps(joysticks, settings, caps);
    EXPECT_EQ(caps.Name(), "kept");
    EXPECT_EQ(caps.wNumButtons, 5u);

    JoyState state{1, 2, 3};
    EXPECT_FALSE(joysticks.ReadState(0, state));
    EXPECT_EQ(state.x, 1u);
    EXPECT_EQ(state.y, 2u);
    EXPECT_EQ(state.buttons, 3u);
}

}  // namespace
}  // namespace vantrel
