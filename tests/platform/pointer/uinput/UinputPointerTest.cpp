// The uinput pointer without a kernel uinput: umockdev's ioctl handler stands in for /dev/uinput
// (run under umockdev-wrapper) and records the device set-up and every event written.
#include <gtest/gtest.h>
#include <linux/uinput.h>
#include <sys/stat.h>
#include <umockdev.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "platform/pointer/uinput/UinputPointer.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace vantrel {
namespace {

// What the program told the fake uinput node, in order.
struct Recorder {
    std::mutex lock;
    std::vector<std::pair<unsigned long, unsigned long>> bits;  // UI_SET_*BIT request, value
    std::string name;
    int created = 0, destroyed = 0;
    std::vector<input_event> events;
};

gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
    auto& recorder = *static_cast<Recorder*>(data);
    const std::lock_guard guard(recorder.lock);
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    unsigned long value = 0;
    std::memcpy(&value, arg->data, sizeof value);
    switch (request) {
        case UI_GET_VERSION: {
            UMockdevIoctlData* out = umockdev_ioctl_data_resolve(arg, 0, sizeof(unsigned), nullptr);
            unsigned version = 5;
            umockdev_ioctl_data_update(out, 0, reinterpret_cast<guint8*>(&version), sizeof version);
            break;
        }
        case UI_SET_EVBIT:
        case UI_SET_KEYBIT:
        case UI_SET_RELBIT:
        case UI_SET_ABSBIT:
        case UI_SET_PROPBIT:
        case UI_SET_MSCBIT:
            recorder.bits.emplace_back(request, value);
            break;
        case UI_DEV_SETUP: {
            UMockdevIoctlData* setup =
                umockdev_ioctl_data_resolve(arg, 0, sizeof(uinput_setup), nullptr);
            recorder.name = reinterpret_cast<const uinput_setup*>(setup->data)->name;
            break;
        }
        case UI_DEV_CREATE:
            ++recorder.created;
            break;
        case UI_DEV_DESTROY:
            ++recorder.destroyed;
            break;
        default:
            if (_IOC_NR(request) == _IOC_NR(UI_GET_SYSNAME(0)) &&
                _IOC_TYPE(request) == UINPUT_IOCTL_BASE) {
                const char sysname[] = "input99";
                UMockdevIoctlData* out =
                    umockdev_ioctl_data_resolve(arg, 0, sizeof sysname, nullptr);
                umockdev_ioctl_data_update(
                    out, 0, reinterpret_cast<guint8*>(const_cast<char*>(sysname)), sizeof sysname);
                break;
            }
            umockdev_ioctl_client_complete(client, -1, ENOTTY);
            return TRUE;
    }
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
}

gboolean OnWrite(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
    auto& recorder = *static_cast<Recorder*>(data);
    const std::lock_guard guard(recorder.lock);
    UMockdevIoctlData* written = umockdev_ioctl_client_get_arg(client);
    for (int at = 0; at + static_cast<int>(sizeof(input_event)) <= written->data_len;
         at += sizeof(input_event)) {
        input_event event;
        std::memcpy(&event, written->data + at, sizeof event);
        recorder.events.push_back(event);
    }
    umockdev_ioctl_client_complete(client, written->data_len, 0);
    return TRUE;
}

struct Event {
    int type, code, value;
    bool operator==(const Event&) const = default;
};

class UinputPointerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testbed = umockdev_testbed_new();
        // "N:" gives the device its node /dev/uinput.
        ASSERT_TRUE(umockdev_testbed_add_from_string(
            testbed,
            "P: /devices/virtual/misc/uinput\nN: uinput\nE: DEVNAME=/dev/uinput\n"
            "E: SUBSYSTEM=misc\nA: dev=10:223\n",
            nullptr));
        handler = umockdev_ioctl_base_new();
        g_signal_connect(handler, "handle-ioctl", G_CALLBACK(OnIoctl), &recorder);
        g_signal_connect(handler, "handle-write", G_CALLBACK(OnWrite), &recorder);
        ASSERT_TRUE(umockdev_testbed_attach_ioctl(testbed, "/dev/uinput", handler, nullptr));
    }
    void TearDown() override {
        if (handler) g_object_unref(handler);
        if (testbed) g_object_unref(testbed);
    }
    // The events written since the last call, without their time stamps.
    std::vector<Event> TakeEvents() {
        const std::lock_guard guard(recorder.lock);
        std::vector<Event> out;
        for (const input_event& e : recorder.events) out.push_back({e.type, e.code, e.value});
        recorder.events.clear();
        return out;
    }

    Recorder recorder;
    UMockdevTestbed* testbed = nullptr;
    UMockdevIoctlBase* handler = nullptr;
};

TEST_F(UinputPointerTest, MakesOneMouseWithRelativeAxesWheelsThreeButtonsAndThePointerProperty) {
    {
        UinputPointer pointer;
        ASSERT_TRUE(pointer.Ready());
        const std::lock_guard guard(recorder.lock);
        EXPECT_EQ(recorder.name, "Vantrel virtual pointer");
        EXPECT_EQ(recorder.created, 1);
        using Bit = std::pair<unsigned long, unsigned long>;
        const std::vector<Bit> wanted{
            {UI_SET_EVBIT, EV_REL},      {UI_SET_EVBIT, EV_KEY},
            {UI_SET_RELBIT, REL_X},      {UI_SET_RELBIT, REL_Y},
            {UI_SET_RELBIT, REL_WHEEL},  {UI_SET_RELBIT, REL_WHEEL_HI_RES},
            {UI_SET_RELBIT, REL_HWHEEL}, {UI_SET_RELBIT, REL_HWHEEL_HI_RES},
            {UI_SET_KEYBIT, BTN_LEFT},   {UI_SET_KEYBIT, BTN_RIGHT},
            {UI_SET_KEYBIT, BTN_MIDDLE}, {UI_SET_PROPBIT, INPUT_PROP_POINTER}};
        for (const Bit& bit : wanted) {
            SCOPED_TRACE(bit.second);
            EXPECT_NE(std::find(recorder.bits.begin(), recorder.bits.end(), bit),
                      recorder.bits.end());
        }
        // Nothing else a compositor could take for a tablet or keyboard.
        for (const Bit& bit : recorder.bits) {
            if (bit.first != UI_SET_EVBIT || bit.second != EV_SYN) {
                EXPECT_NE(std::find(wanted.begin(), wanted.end(), bit), wanted.end())
                    << bit.first << " " << bit.second;
            }
        }
        EXPECT_EQ(recorder.destroyed, 0);
    }
    const std::lock_guard guard(recorder.lock);
    EXPECT_EQ(recorder.destroyed, 1);
}

TEST_F(UinputPointerTest, WritesOneReportPerMoveAndScrollAndASyncAfterEachButton) {
    UinputPointer pointer;
    ASSERT_TRUE(pointer.Ready());
    TakeEvents();
    EXPECT_TRUE(pointer.MoveBy(3, -4));
    EXPECT_TRUE(pointer.MoveBy(0, 9));
    EXPECT_TRUE(pointer.MoveBy(-2, 0));
    const Event report{EV_SYN, SYN_REPORT, 0};
    std::vector<Event> expected{{EV_REL, REL_X, 3},
                                {EV_REL, REL_Y, -4},
                                report,
                                {EV_REL, REL_Y, 9},
                                report,
                                {EV_REL, REL_X, -2},
                                report};
    // Half a notch, then the rest of it with a third of one to the left, then back down past
    // a notch on both wheels: whole notches where the 120ths complete one, never a unit lost.
    EXPECT_TRUE(pointer.ScrollBy(0, 60));
    EXPECT_TRUE(pointer.ScrollBy(-30, 90));
    EXPECT_TRUE(pointer.ScrollBy(-100, -240));
    expected.insert(expected.end(), {{EV_REL, REL_WHEEL_HI_RES, 60},
                                     report,
                                     {EV_REL, REL_WHEEL_HI_RES, 90},
                                     {EV_REL, REL_WHEEL, 1},
                                     {EV_REL, REL_HWHEEL_HI_RES, -30},
                                     report,
                                     {EV_REL, REL_WHEEL_HI_RES, -240},
                                     {EV_REL, REL_WHEEL, -1},
                                     {EV_REL, REL_HWHEEL_HI_RES, -100},
                                     {EV_REL, REL_HWHEEL, -1},
                                     report});
    for (const auto& [down, up, code] :
         {std::tuple{MouseButtonEvent::LeftDown, MouseButtonEvent::LeftUp, BTN_LEFT},
          std::tuple{MouseButtonEvent::RightDown, MouseButtonEvent::RightUp, BTN_RIGHT},
          std::tuple{MouseButtonEvent::MiddleDown, MouseButtonEvent::MiddleUp, BTN_MIDDLE}}) {
        pointer.Send(down);
        pointer.Send(up);
        expected.insert(expected.end(), {{EV_KEY, code, 1}, report, {EV_KEY, code, 0}, report});
    }
    EXPECT_EQ(TakeEvents(), expected);
}

// Whether UinputWritable and the pointer accept `node` for an unprivileged user.
bool AcceptedWithoutPrivileges(const std::string& node) {
    const int status = test::ExitStatusWithoutPrivileges([&] {
        UinputPointer pointer(node);
        return UinputWritable(node) ? 1 : pointer.Ready() ? 3 : 0;
    });
    EXPECT_NE(status, 3) << "pointer ready on a node not writable";
    return status == 1;
}

TEST(UinputNodeTest, MissingOrReadOnlyNodeIsNotUsable) {
    test::TempDir temp;
    std::filesystem::permissions(temp.path(), std::filesystem::perms::all);
    const std::string node = (temp.path() / "uinput").string();
    EXPECT_FALSE(AcceptedWithoutPrivileges(node));  // missing
    std::ofstream(node).put('\0');
    chmod(node.c_str(), 0444);
    EXPECT_FALSE(AcceptedWithoutPrivileges(node));
    chmod(node.c_str(), 0666);
    EXPECT_TRUE(AcceptedWithoutPrivileges(node));
}

}  // namespace
}  // namespace vantrel
