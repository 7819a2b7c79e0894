// The pointer as a kernel input device: a uinput mouse named "Vantrel virtual pointer" that every
// compositor, X server and console reads like real hardware.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"

struct libevdev_uinput;

namespace vantrel {

// The device is made once, by the constructor, and removed by the destructor. When /dev/uinput
// cannot be opened for writing or the kernel refuses the device, Ready() is false and every call
// fails or does nothing.
class UinputPointer : public RelativePointerPort, public MouseButtonPort {
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

  private:
    struct Destroy {
        void operator()(libevdev_uinput* device) const;
    };
    int fd_ = -1;
    std::unique_ptr<libevdev_uinput, Destroy> device_;
};

// True when `node` can be opened for writing, as the uinput pointer needs it.
bool UinputWritable(const std::string& node = UinputPointer::kDefaultNode);

}  // namespace vantrel
