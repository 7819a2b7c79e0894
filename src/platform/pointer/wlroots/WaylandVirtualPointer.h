// The pointer on wlroots compositors (sway, Hyprland, river, niri ...): a virtual pointer device
// of the seat, moved by distances, clicked and scrolled through the wlr virtual-pointer interface.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"
#include "core/engine/ScrollPort.h"

namespace vantrel {

// Owns its own connection to the compositor. When that cannot be opened, the compositor does
// not answer within the timeout, or it does not offer virtual pointers, Ready() is false and
// every call fails or does nothing.
//
// Nothing waits for a busy compositor: while its socket takes no more data, motion is summed
// and buttons are queued, and both go out in their order once it reads again. A connection that
// breaks anyway is made again with a new device; when that fails too the output is Lost().
class WaylandVirtualPointer : public RelativePointerPort,
                              public MouseButtonPort,
                              public ScrollPort {
  public:
    // How long the compositor may take to answer while the output connects.
    static constexpr std::chrono::milliseconds kAnswerTimeout{2000};

    // `displayName` as WAYLAND_DISPLAY takes it (a socket name or path); null: WAYLAND_DISPLAY.
    explicit WaylandVirtualPointer(const char* displayName = nullptr,
                                   std::chrono::milliseconds answerTimeout = kAnswerTimeout);
    ~WaylandVirtualPointer() override;
    WaylandVirtualPointer(const WaylandVirtualPointer&) = delete;
    WaylandVirtualPointer& operator=(const WaylandVirtualPointer&) = delete;

    bool Ready() const;
    // The connection broke and could not be made again: the caller should use another output.
    bool Lost() const { return lost_; }

    // One motion and a frame; compositors move the cursor by exactly (dx, dy). False once Lost.
    bool MoveBy(std::int32_t dx, std::int32_t dy) override;
    // BTN_LEFT / BTN_RIGHT / BTN_MIDDLE pressed or released, each in a frame of its own.
    void Send(MouseButtonEvent event) override;
    // One frame: where the compositor offers version 2, the wheel as the source and each axis
    // as axis_discrete at a whole notch, plain axis between notches; else plain axis. 15 per
    // notch, the wheel step of libinput and every compositor. False once Lost.
    bool ScrollBy(std::int32_t horizontal, std::int32_t vertical) override;
    // axis_stop for each axis scrolled since the last stop, in one frame.
    void EndScroll() override;

    // True while events wait for the compositor to read.
    bool Waiting() const { return !waiting_.empty(); }
    // Sends what waited, as far as the compositor takes it; false once Lost.
    bool SendWaiting();
    // Called when a move or a button leaves events waiting: the caller then calls SendWaiting
    // again later, since the engine may sleep meanwhile and a waiting release must still arrive.
    void SetWaitingHandler(std::function<void()> handler) { onWaiting_ = std::move(handler); }

    // Waits until the compositor has handled everything sent so far (within the timeout).
    bool Sync();
    // The connection's socket, for tests that break it; -1 without one.
    int SocketForTest() const;

    // Whether a compositor's socket takes a connection (WAYLAND_DISPLAY, else wayland-0); no
    // round trip, so a stalled compositor cannot hold the caller.
    static bool CompositorReachable();

  private:
    struct Connection;
    struct Event {
        enum class Kind : std::uint8_t { Motion, Button, Scroll, ScrollStop } kind;
        std::int32_t dx = 0, dy = 0;  // motion in pixels; scroll in 120ths of a notch
        std::uint32_t button = 0;     // evdev code
        bool pressed = false;
        // Scroll: the whole notches completed within (dx, dy); stop: the axes to stop.
        std::int32_t notchesX = 0, notchesY = 0;
    };
    void Post(const Event& event);
    void Queue(const Event& event);
    bool Reconnect();
    void Marshal(const Event& event);
    // Everything marshalled has left the program: its buttons count as held or released.
    void Confirm();

    std::optional<std::string> displayName_;
    std::chrono::milliseconds answerTimeout_;
    std::unique_ptr<Connection> connection_;
    std::vector<Event> waiting_;
    // Handed to libwayland but not yet known to be written to the socket.
    std::vector<Event> unconfirmed_;
    // Buttons pressed on the current device: a new device gets them pressed again.
    std::vector<std::uint32_t> held_;
    WheelNotches horizontal_, vertical_;
    bool scrolledX_ = false, scrolledY_ = false;  // since the last stop
    bool lost_ = false;
    std::function<void()> onWaiting_;
};

}  // namespace vantrel
