// The X11 pointer: read and placed on the root window, mouse buttons and wheel clicks injected
// through XTest.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"
#include "core/engine/ScrollPort.h"
#include "core/startup/PointerChoice.h"

struct _XDisplay;

namespace vantrel {

// Owns its own connection to the display named by DISPLAY, or to the server of `sameServerAs`
// (Qt's connection, which may have come from -display). When that cannot be opened every call
// fails (returns false or does nothing).
class X11Pointer : public PointerPort, public MouseButtonPort, public ScrollPort {
  public:
    explicit X11Pointer(_XDisplay* sameServerAs = nullptr);
    ~X11Pointer() override;
    X11Pointer(const X11Pointer&) = delete;
    X11Pointer& operator=(const X11Pointer&) = delete;

    bool Connected() const { return display_ != nullptr; }
    // Without XTEST the pointer is still placed (by warping), but no button can be clicked.
    X11Reach Reach() const;

    // Whether an X display answers: `name` as DISPLAY takes it, empty for DISPLAY itself.
    static bool DisplayAnswers(const std::string& name);

    // One round trip to the server, waited for.
    bool QueryPosition(ScreenPoint& point) override;
    // Pipelined: answers with the reply to the query sent at the end of the previous call,
    // which has long arrived, and sends the next one; so an idle tick never sleeps waiting
    // for the server. A normal query stands in when there is no such reply, or it is older
    // than kPrefetchMaxAge, or the pointer was placed, clicked or queried since.
    bool QueryPositionForDisplay(ScreenPoint& point) override;
    // Queued without waiting for the server: it goes out with the next query (every tick
    // reads the pointer after its moves) or Sync(), in one write with that request. The server
    // handles requests in order, so that query already sees the new position.
    bool PlaceAt(std::int32_t x, std::int32_t y) override;
    // One relative XTest motion, queued like PlaceAt but keeping the pending query: the server
    // adds it to wherever the pointer is and confines it as it confines a placement. Refused
    // where that could differ from placing: without XTest, with several X screens (a relative
    // motion may cross to the next one, a placement stays on ours), or while the last answer
    // had the pointer on another screen (a placement would bring it back).
    bool ShiftBy(std::int32_t dx, std::int32_t dy) override;
    // Left / right / middle are X buttons 1 / 3 / 2.
    void Send(MouseButtonEvent event) override;
    // X has only whole wheel clicks: buttons 4 / 5 (up / down) and 6 / 7 (left / right), a
    // press and a release for each notch complete; the fractions wait for the next call.
    // Queued like PlaceAt: they go out with the next query or Sync().
    bool ScrollBy(std::int32_t horizontal, std::int32_t vertical) override;

    // Waits until the server has handled everything sent so far.
    bool Sync();
    // Requests with a reply sent since the connection opened: one round trip each, whether
    // the caller waited for the reply or collected it later.
    std::uint64_t RoundTrips() const { return roundTrips_; }
    // Of those, the replies the caller had to sleep for (queries and syncs).
    std::uint64_t Waits() const { return waits_; }

    // Two ticks: a prefetched reply older than this (the timer held up, the poll stopped and
    // started again) is dropped rather than shown.
    static constexpr std::chrono::milliseconds kPrefetchMaxAge{10};
    // Tests that count waits lift the limit, so a stall of the machine cannot turn a pipelined
    // read into a waited one.
    void SetPrefetchMaxAge(std::chrono::steady_clock::duration age) { prefetchMaxAge_ = age; }

  private:
    void SendPrefetch();
    bool CollectPrefetch(ScreenPoint& point);
    // Forgets the prefetched query; its reply is thrown away when it arrives.
    void DropPrefetch();

    struct Closer {
        void operator()(_XDisplay* display) const;
    };
    std::unique_ptr<_XDisplay, Closer> display_;
    unsigned long root_ = 0;
    int screen_ = 0;
    bool xtest_ = false;
    bool singleScreen_ = false;
    // What the last answer said: the pointer was on our screen.
    bool onOurScreen_ = false;
    std::uint64_t roundTrips_ = 0;
    std::uint64_t waits_ = 0;
    WheelNotches horizontal_, vertical_;
    bool prefetchPending_ = false;
    unsigned int prefetchSequence_ = 0;
    std::chrono::steady_clock::time_point prefetchSent_{};
    std::chrono::steady_clock::duration prefetchMaxAge_ = kPrefetchMaxAge;
};

}  // namespace vantrel
