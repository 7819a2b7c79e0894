// The pointer as a kernel input device: a uinput mouse named "Vantrel virtual pointer" that every
// compositor, X server and console reads like real hardware.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"
#include "core/engine/ScrollPort.h"

struct libevdev_uinput;

namespace vantrel {

// The device is made once, by the constructor, and removed by the destructor. When /dev/uinput
// cannot be opened for writing or the kernel refuses the device, Ready() is false and every call
// fails or does nothing.
class UinputPointer : public RelativePointerPort, public MouseButtonPort, public ScrollPort {
  public:
    static constexpr const char* kDeviceName = "Vantrel virtual pointer";
    static constexpr const char* kDefaultNode = "/dev/uinput";

    explicit UinputPointer(const std::string& node = kDefaultNode);
    ~UinputPointer() override;
    UinputPointer(const UinputPointer&) = delete;
    UinputPointer& operator=(const UinputPointer&) = delete;

    bool Ready() const { return device_ != nullptr; }

    // REL_X, REL_Y (each only when not 0) and one SYN_REPORT: one motion for both axes.
    bool MoveBy(std::int32_t dx, std::int32_t dy) override;
    // The BTN_LEFT / BTN_RIGHT / BTN_MIDDLE key event and its own SYN_REPORT.
    void Send(MouseButtonEvent event) override;
    // One report of a high-resolution wheel, as hid-input sends it: per wheel (vertical first)
    // REL_WHEEL_HI_RES / REL_HWHEEL_HI_RES in 120ths, then REL_WHEEL / REL_HWHEEL when whole
    // notches are complete, then SYN_REPORT. Readers without hi-res see the notches alone.
    bool ScrollBy(std::int32_t horizontal, std::int32_t vertical) override;

  private:
    struct Destroy {
        void operator()(libevdev_uinput* device) const;
    };
    int fd_ = -1;
    std::unique_ptr<libevdev_uinput, Destroy> device_;
    WheelNotches horizontal_, vertical_;
};

// True when `node` can be opened for writing, as the uinput pointer needs it.
bool UinputWritable(const std::string& node = UinputPointer::kDefaultNode);

}  // namespace vantrel
