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
    earlier.SetName("Earlier");
    earlier.buttonCount = 8;
    ReadJoystickInfo(joystick, settings, earlier);
    EXPECT_EQ(earlier.name, "Earlier");
    EXPECT_EQ(earlier.buttonCount, 8u);
}

// A backend that writes into the record before it finds out that the device is gone.
class HalfAnsweringJoystick : public JoystickPort {
  public:
    bool ReadInfo(int, JoystickInfo& caps) override {
        caps.SetName("Half");
        caps.buttonCount = 99;
        return false;
    }
    bool ReadState(int, JoystickState&) override { return false; }
};

TEST(ReadJoystickCapsTest, FailedQueryNeverLeavesAPartlyFilledRecord) {
    HalfAnsweringJoystick joystick;
    JoystickInfo caps;
    caps.SetName("Kept");
    caps.buttonCount = 3;
    ReadJoystickInfo(joystick, DefaultSettings(), caps);
    EXPECT_EQ(caps.name, "Kept");
    EXPECT_EQ(caps.buttonCount, 3u);
}

TEST(JoystickInfoTest, NameIsCutTo31BytesOnACharacterBoundary) {
    const std::string a30(30, 'a');
    struct Case {
        std::string name;
        std::string stored;
    };
    for (const Case& c : std::vector<Case>{
             {"", ""},
             {"Pad", "Pad"},
             {std::string(31, 'x'), std::string(31, 'x')},
             {std::string(32, 'x'), std::string(31, 'x')},
             {std::string(80, 'x'), std::string(31, 'x')},
             {a30 + "\xC3\xA9", a30},                                   // é would end at byte 32
             {a30.substr(1) + "\xC3\xA9", a30.substr(1) + "\xC3\xA9"},  // é ends at byte 31
             {a30.substr(1) + "\xE2\x82\xAC", a30.substr(1)},           // € straddles the cut
             {a30.substr(2) + "\xF0\x9F\x98\x80", a30.substr(2)},       // 4-byte character
             {a30.substr(3) + "\xF0\x9F\x98\x80", a30.substr(3) + "\xF0\x9F\x98\x80"},
             // Not UTF-8 at all: a run of continuation bytes is cut plainly.
             {std::string(27, 'a') + std::string(5, '\x80'),
              std::string(27, 'a') + std::string(4, '\x80')},
         }) {
        SCOPED_TRACE(c.name);
        JoystickInfo caps;
        caps.SetName(std::string(31, 'z'));  // an earlier, longer name must not show through
        caps.SetName(c.name);
        EXPECT_EQ(caps.name, c.stored);
    }
}

}  // namespace
}  // namespace vantrel
