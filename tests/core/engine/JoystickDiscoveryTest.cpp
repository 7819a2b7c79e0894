#include "core/engine/JoystickDiscovery.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/fakes/FakeJoystick.h"

namespace vantrel {
namespace {

using test::FakeJoystick;

TEST(CountJoysticksTest, CountsTheIdsZeroToTenThatAnswer) {
    struct Case {
        std::set<int> present;
        int count;
    };
    for (const Case& c : std::vector<Case>{{{}, 0},
                                           {{0}, 1},
                                           {{0, 3}, 2},
                                           {{1, 2}, 2},
                                           {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 11},
                                           {{10}, 1},
                                           {{11, 12, 15}, 0},
                                           {{0, 11}, 1},
                                           {{-1}, 0}}) {
        SCOPED_TRACE(::testing::Message() << "expected " << c.count);
        FakeJoystick joystick;
        for (int id : c.present) joystick.Plug(id);
        EXPECT_EQ(CountJoysticks(joystick), c.count);
        EXPECT_EQ(joystick.capsQueries, 11);
    }
}

TEST(ReadJoystickCapsTest, FillsNameAndButtonsOfTheChosenDevice) {
    FakeJoystick joystick;
    joystick.Plug(0, "First", 4);
    joystick.Plug(2, "Virtual Pad", 12);
    Settings settings = DefaultSettings();
    settings.JoystickId = 2;

    JoystickInfo caps;
    ReadJoystickInfo(joystick, settings, caps);
    EXPECT_EQ(caps.name, "Virtual Pad");
    EXPECT_EQ(caps.buttonCount, 12u);
}

TEST(ReadJoystickCapsTest, AbsentDeviceLeavesTheRecordAsItWas) {
    FakeJoystick joystick;
    joystick.Plug(0, "First", 4);
    Settings settings = DefaultSettings();
    settings.JoystickId = 5;

    JoystickInfo fresh;
    ReadJoystickInfo(joystick, settings, fresh);
    EXPECT_EQ(fresh.name, "");
    EXPECT_EQ(fresh.buttonCount, 0u);

    JoystickInfo earlier;
    earlier.name = "Earlier";
    earlier.buttonCount = 8;
    ReadJoystickInfo(joystick, settings, earlier);
    EXPECT_EQ(earlier.name, "Earlier");
    EXPECT_EQ(earlier.buttonCount, 8u);
}

// A backend that writes into the record before it finds out that the device is gone.
class HalfAnsweringJoystick : public JoystickPort {
  public:
    bool ReadInfo(int, JoystickInfo& caps) override {
        caps.name = "Half";
        caps.buttonCount = 99;
        return false;
    }
    bool ReadState(int, JoystickState&) override { return false; }
    bool ReadIdentity(int, PadIdentity&) override { return false; }
    void RefreshDevices() override {}
    std::uint64_t DeviceListStamp() override { return 0; }
};

TEST(ReadJoystickCapsTest, FailedQueryNeverLeavesAPartlyFilledRecord) {
    HalfAnsweringJoystick joystick;
    JoystickInfo caps;
    caps.name = "Kept";
    caps.buttonCount = 3;
    ReadJoystickInfo(joystick, DefaultSettings(), caps);
    EXPECT_EQ(caps.name, "Kept");
    EXPECT_EQ(caps.buttonCount, 3u);
}

}  // namespace
}  // namespace vantrel
