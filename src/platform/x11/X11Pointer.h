// The X11 pointer: read and placed on the root window, mouse buttons injected through XTest.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/MouseButtonPort.h"
#include "engine/PointerPort.h"

struct _XDisplay;

namespace vantrel {

// Owns its own connection to the display named by DISPLAY. When that cannot be opened every
// call fails (returns false or does nothing).
class X11Pointer : public PointerPort, public MouseButtonPort {
  public:
    X11Pointer();
    ~X11Pointer() override;
    X11Pointer(const X11Pointer&) = delete;
    X11Pointer& operator=(const X11Pointer&) = delete;

    bool Connected() const { return display_ != nullptr; }

    // One round trip to the server.
    bool QueryPosition(ScreenPoint& point) override;
    // Queued without waiting for the server: it goes out with the next query (every tick
    // reads the pointer after its moves) or Sync(), in one write with that request. The server
    // handles requests in order, so that query already sees the new position.
    bool PlaceAt(std::int32_t x, std::int32_t y) override;
    // Left / right / middle are X buttons 1 / 3 / 2.
    void Send(MouseEvent event) override;

    // Waits until the server has handled everything sent so far.
    bool Sync();
    // Requests that waited for a server reply since the connection opened.
    std::uint64_t RoundTrips() const { return roundTrips_; }

  private:
    struct Closer {
        void operator()(_XDisplay* display) const;
    };
    std::unique_ptr<_XDisplay, Closer> display_;
    unsigned long root_ = 0;
    int screen_ = 0;
    bool xtest_ = false;
    std::uint64_t roundTrips_ = 0;
};

}  // namespace vantrel
