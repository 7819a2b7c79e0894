#include "engine/JoystickDiscovery.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "fakes/FakeJoystick.h"

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

    JoyCaps caps;
    ReadJoystickCaps(joystick, settings, caps);
    EXPECT_EQ(caps.Name(), "Virtual Pad");
    EXPECT_EQ(caps.wNumButtons, 12u);
    for (std::size_t i = std::string("Virtual Pad").size(); i < caps.szPname.size(); ++i)
        EXPECT_EQ(caps.szPname[i], '\0') << "byte " << i;
}

TEST(ReadJoystickCapsTest, AbsentDeviceLeavesTheRecordAsItWas) {
    FakeJoystick joystick;
    joystick.Plug(0, "First", 4);
    Settings settings = DefaultSettings();
    settings.JoystickId = 5;

    JoyCaps fresh;
    ReadJoystickCaps(joystick, settings, fresh);
    EXPECT_EQ(fresh.Name(), "");
    EXPECT_EQ(fresh.wNumButtons, 0u);

    JoyCaps earlier;
    earlier.SetName("Earlier");
    earlier.wNumButtons = 8;
    ReadJoystickCaps(joystick, settings, earlier);
    EXPECT_EQ(earlier.Name(), "Earlier");
    EXPECT_EQ(earlier.wNumButtons, 8u);
}

// A backend that writes into the record before it finds out that the device is gone.
class HalfAnsweringJoystick : public JoystickPort {
  public:
    bool ReadCaps(int, JoyCaps& caps) override {
        caps.SetName("Half");
        caps.wNumButtons = 99;
        return false;
    }
    bool ReadState(int, JoyState&) override { return false; }
};

TEST(ReadJoystickCapsTest, FailedQueryNeverLeavesAPartlyFilledRecord) {
    HalfAnsweringJoystick joystick;
    JoyCaps caps;
    caps.SetName("Kept");
    caps.wNumButtons = 3;
    ReadJoystickCaps(joystick, DefaultSettings(), caps);
    EXPECT_EQ(caps.Name(), "Kept");
    EXPECT_EQ(caps.wNumButtons, 3u);
}

TEST(JoyCapsTest, NameIsCutTo31BytesOnACharacterBoundary) {
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
        JoyCaps caps;
        caps.SetName(std::string(31, 'z'));  // an earlier, longer name must not show through
        caps.SetName(c.name);
        EXPECT_EQ(caps.Name(), c.stored);
        EXPECT_EQ(caps.szPname.back(), '\0');
    }
}

}  // namespace
}  // namespace vantrel
