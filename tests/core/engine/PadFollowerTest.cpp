// Following the joystick in use by who it is while pads are plugged in and out, with the device
// list renumbered as SDL renumbers it.
#include "core/engine/PadFollower.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes/FakeJoystick.h"

namespace vantrel {
namespace {

// One change of the pads, then the id the pad followed is read at (-1: nothing read). Changes:
// "" none; "+Model" plugged in after the last, "+Model@3" at id 3, with "/serial" or ":node"
// after the model; "-2" id 2 unplugged and the later ones moved down; "x2" unplugged in place.
struct Step {
    std::string change;
    int reads;
    bool look = true;  // false: the next change comes before the next reading
};
struct FollowCase {
    const char* label;
    std::vector<std::string> atStart;  // models
    int chosen;                        // JoystickId
    std::vector<Step> steps;
};
void PrintTo(const FollowCase& c, std::ostream* out) {
    *out << c.label;
}

class PadFollowerTest : public ::testing::TestWithParam<FollowCase> {};

TEST_P(PadFollowerTest, ReadsThePadChosenWhereverItIsAndNothingWhileItIsAway) {
    test::FakeJoystick joystick;
    std::uint32_t pluggings = 0;
    // Each pad's x axis tells which plugging a reading came from.
    const auto plug = [&](std::string what) {
        const std::size_t at = what.find('@'), serial = what.find('/'), node = what.find(':');
        const std::string model = what.substr(0, std::min({at, serial, node}));
        auto& pad = at == std::string::npos ? joystick.PlugLast(model)
                                            : joystick.Plug(std::stoi(what.substr(at + 1)), model);
        if (serial != std::string::npos) pad.identity.serial = what.substr(serial + 1);
        if (node != std::string::npos) pad.identity.path = what.substr(node + 1, at - node - 1);
        pad.state.x = ++pluggings;
    };
    for (const std::string& model : GetParam().atStart) plug(model);
    PadFollower follower(joystick);
    follower.Choose(GetParam().chosen);

    for (std::size_t n = 0; n < GetParam().steps.size(); ++n) {
        const Step& step = GetParam().steps[n];
        SCOPED_TRACE(::testing::Message() << "step " << n << " " << step.change);
        const std::string& c = step.change;
        if (c.starts_with('+')) plug(c.substr(1));
        if (c.starts_with('-')) joystick.UnplugShifting(std::stoi(c.substr(1)));
        if (c.starts_with('x')) joystick.Unplug(std::stoi(c.substr(1)));
        if (!step.look) continue;
        JoystickState state;
        joystick.lastReadId = -1;
        EXPECT_EQ(follower.Read(state), step.reads >= 0);
        EXPECT_EQ(follower.Device(), step.reads);
        if (step.reads < 0) continue;
        EXPECT_EQ(joystick.lastReadId, step.reads);
        EXPECT_EQ(state.x, joystick.At(step.reads).state.x) << "read another pad";
    }
}

const FollowCase kCases[] = {
    // The id JoystickId names, when it names one of the pads there; else 0, as ever.
    {"ChosenIdPresent", {"A", "B"}, 1, {{"", 1}}},
    {"ChosenIdPastTheCount", {"A", "B"}, 2, {{"", 0}}},
    {"ChosenIdTheLastOfEleven",
     {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K"},
     10,
     {{"", 10}}},
    {"NegativeId", {"A", "B", "C"}, -1, {{"", 0}}},
    {"NoPadAtStartTakesTheFirstThatComes", {}, 1, {{"", -1}, {"+DS4", 0}, {"+Xbox", 0}}},
    // Xbox at start, a DualShock 4 later, the Xbox unplugged and back.
    {"TwoPads", {"Xbox"}, 0, {{"", 0}, {"+DS4", 0}, {"-0", -1}, {"", -1}, {"+Xbox", 1}, {"-0", 0}}},
    {"TheListMovesUnderThePad", {"A", "B"}, 1, {{"", 1}, {"-0", 0}}},
    {"APadOfTheSameModelThereAllAlongIsAnotherPad",
     {"Xbox", "Xbox"},
     0,
     {{"", 0}, {"-0", -1}, {"+Xbox", 1}}},
    {"AnotherSerialIsAnotherPad",
     {},
     0,
     {{"+Xbox/s1", 0}, {"-0", -1}, {"+Xbox/s2", -1}, {"+Xbox/s1", 1}}},
    {"OfTwoAlikeTheOneAtItsNode",
     {},
     0,
     {{"+Xbox:event5", 0}, {"-0", -1}, {"+Xbox:event9@1", -1, false}, {"+Xbox:event5@3", 3}}},
    {"AnotherModelAtItsIdWhileAway", {"A"}, 0, {{"", 0}, {"x0", -1}, {"+B@0", -1}}},
};
INSTANTIATE_TEST_SUITE_P(Pads, PadFollowerTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace vantrel
