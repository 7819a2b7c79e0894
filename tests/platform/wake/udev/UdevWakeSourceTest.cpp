// The Linux wake source on device nodes and uevents that umockdev makes up (run under
// umockdev-wrapper): the kernel here has no joystick.
#include "platform/wake/udev/UdevWakeSource.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/input.h>
#include <poll.h>
#include <umockdev.h>
#include <unistd.h>

#include <QCoreApplication>
#include <memory>

#include "core/engine/PollScheduler.h"
#include "support/EventLoopWait.h"
#include "support/fakes/FakeJoystick.h"
#include "support/fakes/FakeMouseButtons.h"
#include "support/fakes/FakePointer.h"
#include "support/fakes/FakeWake.h"

namespace vantrel {
namespace {

constexpr const char* kNode = "/dev/input/event7";
constexpr const char* kSysPath = "/sys/devices/virtual/input/input9/event7";

// A testbed with one joystick event node whose other end the test writes to.
struct Testbed {
    std::unique_ptr<UMockdevTestbed, decltype(&g_object_unref)> bed{umockdev_testbed_new(),
                                                                    g_object_unref};
    int deviceEnd = -1;
    int watcherEnd = -1;  // the test's own reader of the node, to see what has arrived there

    Testbed() {
        GError* error = nullptr;
        const bool added = umockdev_testbed_add_from_string(
            bed.get(),
            "P: /devices/virtual/input/input9/event7\nN: input/event7\nE: SUBSYSTEM=input\n"
            "E: DEVNAME=/dev/input/event7\nE: ID_INPUT=1\nE: ID_INPUT_JOYSTICK=1\nA: dev=13:71\n",
            &error);
        EXPECT_TRUE(added) << (error != nullptr ? error->message : "");
        if (error != nullptr) g_error_free(error);
        deviceEnd = umockdev_testbed_get_dev_fd(bed.get(), kNode);
        watcherEnd = open(kNode, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        EXPECT_GE(watcherEnd, 0);
    }
    ~Testbed() {
        if (watcherEnd >= 0) close(watcherEnd);
    }
    // The device reports button A going down (or up), or another event, then a report end. The
    // stand-in's node is a terminal, which passes written bytes on a moment later: returns once
    // they are there.
    void Press(bool down) { Report(EV_KEY, BTN_SOUTH, down ? 1 : 0); }
    void Report(std::uint16_t type, std::uint16_t code, std::int32_t value) {
        const input_event events[] = {{{}, type, code, value}, {{}, EV_SYN, 0, 0}};
        ASSERT_EQ(write(deviceEnd, events, sizeof events), static_cast<ssize_t>(sizeof events));
        pollfd arrived{watcherEnd, POLLIN, 0};
        ASSERT_EQ(poll(&arrived, 1, 5000), 1) << "the input never reached the node";
    }
    void Uevent(const char* action) { umockdev_testbed_uevent(bed.get(), kSysPath, action); }
};

// For what must not happen, the input it would come from is already on the node (Press).
using test::Settle;
using test::WaitFor;

struct Source {
    std::optional<std::string> node = std::string(kNode);
    UdevWakeSource wake{[this](int) { return node; }, true};
    int wakes = 0;
    Source() {
        wake.SetWakeHandler([this] { ++wakes; });
    }
};

TEST(UdevWakeSourceTest, InputOnTheNodeWakesOnceUntilWatchedAgain) {
    Testbed testbed;
    Source source;
    testbed.Press(true);  // before the arming: the tick has seen it
    ASSERT_TRUE(source.wake.Watch(0, WakeInput::StickAndButtons));
    Settle(50);
    EXPECT_EQ(source.wakes, 0);

    testbed.Press(false);
    testbed.Press(true);
    EXPECT_TRUE(WaitFor([&] { return source.wakes > 0; }));
    testbed.Press(false);
    Settle(50);
    EXPECT_EQ(source.wakes, 1);

    ASSERT_TRUE(source.wake.Watch(0, WakeInput::StickAndButtons));
    source.wake.Unwatch();
    testbed.Press(true);
    Settle(50);
    EXPECT_EQ(source.wakes, 1);
}

// Paused, the stick is the game's: only a button wakes.
TEST(UdevWakeSourceTest, PausedOnlyAButtonWakes) {
    for (const WakeInput input : {WakeInput::StickAndButtons, WakeInput::ButtonsOnly}) {
        const bool stickWakes = input == WakeInput::StickAndButtons;
        Testbed testbed;
        Source source;
        ASSERT_TRUE(source.wake.Watch(0, input));
        testbed.Report(EV_ABS, ABS_X, 0);
        if (!stickWakes) Settle(50);
        EXPECT_EQ(stickWakes ? WaitFor([&] { return source.wakes == 1; }) : source.wakes == 1,
                  stickWakes);
        ASSERT_TRUE(source.wake.Watch(0, input));
        testbed.Press(true);
        EXPECT_TRUE(WaitFor([&] { return source.wakes == (stickWakes ? 2 : 1); }));
    }
}

class DeviceEventTest : public ::testing::TestWithParam<const char*> {};

// Plugging in wakes a program waiting for its absent joystick; unplugging wakes one watching
// the node (umockdev cannot hang the node up the way the kernel does).
TEST_P(DeviceEventTest, UeventWakes) {
    Testbed testbed;
    Source source;
    if (std::string(GetParam()) == "add") source.node.reset();
    ASSERT_TRUE(source.wake.Watch(0, WakeInput::StickAndButtons));
    testbed.Uevent(GetParam());
    EXPECT_TRUE(WaitFor([&] { return source.wakes == 1; }));
}

INSTANTIATE_TEST_SUITE_P(Actions, DeviceEventTest, ::testing::Values("add", "remove"),
                         [](const auto& info) { return std::string(info.param); });

TEST(UdevWakeSourceTest, RefusesWhatItCannotWatch) {
    Testbed testbed;
    struct Case {
        std::optional<std::string> node;
        bool monitor;
    };
    for (const Case& c : {Case{std::string(), true},  // a virtual joystick
                          Case{std::string("/dev/hidraw3"), true},
                          Case{std::string("/dev/input/event99"), true},  // cannot be opened
                          Case{std::nullopt, false}}) {  // no device and nobody to tell of one
        SCOPED_TRACE(c.node.value_or("(no device)"));
        UdevWakeSource wake([&](int) { return c.node; }, c.monitor);
        EXPECT_FALSE(wake.Watch(0, WakeInput::StickAndButtons));
    }
}

// The whole wake path but SDL: an engine at rest sleeps with its timer stopped; input on the
// node moves the pointer from the event loop, without a timer tick.
TEST(UdevWakeSourceTest, SleepingEngineMovesOnInput) {
    Testbed testbed;
    Source source;
    test::FakeJoystick joystick;
    joystick.Plug(0);
    test::FakePointer pointer;
    test::FakeMouseButtons buttons;
    test::FakePollTimer timer;
    const Settings settings = DefaultSettings();
    PollEngine engine(joystick, pointer, buttons, settings);
    PollScheduler scheduler(engine, joystick, timer, source.wake);
    scheduler.Start();
    scheduler.OnTimer();
    ASSERT_TRUE(scheduler.Asleep());
    ASSERT_FALSE(timer.running);

    joystick.SetButtons(1);
    testbed.Press(true);
    EXPECT_TRUE(WaitFor([&] { return !buttons.events.empty(); }));
    EXPECT_EQ(buttons.events, std::vector<MouseButtonEvent>{MouseButtonEvent::LeftDown});
    EXPECT_TRUE(timer.running);
}

}  // namespace
}  // namespace vantrel

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
