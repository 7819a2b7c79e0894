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

// The chosen device's name and buttons; an absent device or a failed query leaves the record as
// it was, never partly filled.
TEST(ReadJoystickCapsTest, FillsTheRecordFromTheChosenDeviceOnly) {
    FakeJoystick joystick;
    joystick.Plug(0, "First", 4);
    joystick.Plug(2, "Virtual Pad", 12);
    HalfAnsweringJoystick half;
    const struct {
        JoystickPort* port;
        std::int16_t id;
        std::string name;  // before, and the name and buttons expected after
        std::uint32_t buttons;
        std::string nameAfter;
        std::uint32_t buttonsAfter;
    } cases[] = {{&joystick, 2, "", 0, "Virtual Pad", 12},
                 {&joystick, 5, "", 0, "", 0},
                 {&joystick, 5, "Earlier", 8, "Earlier", 8},
                 {&half, 0, "Kept", 3, "Kept", 3}};
    for (const auto& c : cases) {
        Settings settings = DefaultSettings();
        settings.JoystickId = c.id;
        JoystickInfo caps;
        caps.name = c.name;
        caps.buttonCount = c.buttons;
        ReadJoystickInfo(*c.port, settings, caps);
        EXPECT_EQ(caps.name, c.nameAfter) << c.id << c.name;
        EXPECT_EQ(caps.buttonCount, c.buttonsAfter) << c.id << c.name;
    }
}

}  // namespace
}  // namespace vantrel
