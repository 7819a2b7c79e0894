#include "platform/pointer/uinput/UinputPointer.h"

#include <fcntl.h>
#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>
#include <unistd.h>

static_assert(vantrel::EvdevButtonCode(vantrel::MouseButton::Left) == BTN_LEFT &&
              vantrel::EvdevButtonCode(vantrel::MouseButton::Right) == BTN_RIGHT &&
              vantrel::EvdevButtonCode(vantrel::MouseButton::Middle) == BTN_MIDDLE);

namespace vantrel {

namespace {

struct FreeDevice {
    void operator()(libevdev* device) const { libevdev_free(device); }
};

int OpenForWriting(const std::string& node) {
    // Read and write, as libevdev expects of the descriptor it is handed.
    return open(node.c_str(), O_RDWR | O_CLOEXEC);
}

}  // namespace

void UinputPointer::Destroy::operator()(libevdev_uinput* device) const {
    libevdev_uinput_destroy(device);
}

UinputPointer::UinputPointer(const std::string& node) {
    const std::unique_ptr<libevdev, FreeDevice> description(libevdev_new());
    if (!description) return;
    libevdev* d = description.get();
    libevdev_set_name(d, kDeviceName);
    // A mouse: two relative axes, two high-resolution wheels and three buttons.
    // INPUT_PROP_POINTER tells libinput it moves a pointer on screen (not a touchpad or tablet).
    libevdev_enable_property(d, INPUT_PROP_POINTER);
    libevdev_enable_event_type(d, EV_REL);
    for (const unsigned int code :
         {REL_X, REL_Y, REL_WHEEL, REL_HWHEEL, REL_WHEEL_HI_RES, REL_HWHEEL_HI_RES})
        libevdev_enable_event_code(d, EV_REL, code, nullptr);
    libevdev_enable_event_type(d, EV_KEY);
    for (const MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle})
        libevdev_enable_event_code(d, EV_KEY, EvdevButtonCode(button), nullptr);

    fd_ = OpenForWriting(node);
    if (fd_ < 0) return;
    libevdev_uinput* device = nullptr;
    if (libevdev_uinput_create_from_device(d, fd_, &device) == 0) device_.reset(device);
}

UinputPointer::~UinputPointer() {
    device_.reset();  // UI_DEV_DESTROY: the device leaves every compositor at once
    if (fd_ >= 0) close(fd_);
}

bool UinputPointer::MoveBy(std::int32_t dx, std::int32_t dy) {
    if (!device_) return false;
    libevdev_uinput* device = device_.get();
    if (dx != 0 && libevdev_uinput_write_event(device, EV_REL, REL_X, dx) != 0) return false;
    if (dy != 0 && libevdev_uinput_write_event(device, EV_REL, REL_Y, dy) != 0) return false;
    return libevdev_uinput_write_event(device, EV_SYN, SYN_REPORT, 0) == 0;
}

void UinputPointer::Send(MouseButtonEvent event) {
    if (!device_) return;
    const MouseButtonChange change = ChangeOf(event);
    const unsigned int code = EvdevButtonCode(change.button);
    const int value = change.pressed ? 1 : 0;
    // A lost click cannot be resent meaningfully later; the port has no failure to report.
    if (libevdev_uinput_write_event(device_.get(), EV_KEY, code, value) == 0)
        static_cast<void>(libevdev_uinput_write_event(device_.get(), EV_SYN, SYN_REPORT, 0));
}

bool UinputPointer::ScrollBy(std::int32_t horizontal, std::int32_t vertical) {
    if (!device_) return false;
    libevdev_uinput* device = device_.get();
    struct Wheel {
        std::int32_t units, notches;
        unsigned int hiRes, notch;
    };
    const Wheel wheels[] = {
        {vertical, vertical_.Add(vertical), REL_WHEEL_HI_RES, REL_WHEEL},
        {horizontal, horizontal_.Add(horizontal), REL_HWHEEL_HI_RES, REL_HWHEEL}};
    for (const Wheel& wheel : wheels) {
        if (wheel.units != 0 &&
            libevdev_uinput_write_event(device, EV_REL, wheel.hiRes, wheel.units) != 0)
            return false;
        if (wheel.notches != 0 &&
            libevdev_uinput_write_event(device, EV_REL, wheel.notch, wheel.notches) != 0)
            return false;
    }
    return libevdev_uinput_write_event(device, EV_SYN, SYN_REPORT, 0) == 0;
}

bool UinputWritable(const std::string& node) {
    const int fd = OpenForWriting(node);
    if (fd < 0) return false;
    close(fd);
    return true;
}

}  // namespace vantrel
