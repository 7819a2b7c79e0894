#include "platform/pointer/wlroots/WaylandVirtualPointer.h"

#include <poll.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "virtual-pointer-client.h"

namespace vantrel {

namespace {

// Event times in milliseconds; clients only compare them, so any fixed base will do.
std::uint32_t NowMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// libwayland keeps unsent requests in a buffer of 4 KiB and ends the connection when one more
// does not fit. Events are handed to it only once it has sent everything, and at most this many
// at a time (a motion or a button with its frame is 28 bytes, the largest scroll 68), so it never
// overflows.
constexpr std::size_t kEventsPerWrite = 32;
// A merged motion stays far inside what a Wayland fixed-point number holds (24 bits).
constexpr std::int32_t kLargestMotion = 1 << 22;

// A wheel notch in the axis unit of wl_pointer, as libinput reports a click of a real wheel.
constexpr double kAxisPerNotch = 15.0;
// The first version with axis_source and axis_discrete as wlroots reads them.
constexpr std::uint32_t kScrollVersion = 2;

std::int32_t AddClamped(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = std::int64_t{a} + b;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(sum, -kLargestMotion, kLargestMotion));
}

// A round trip that gives up after `timeout`: a compositor that is stopped, or a socket that
// accepts and never answers, must not hold the program.
bool AnsweredWithin(wl_display* display, std::chrono::milliseconds timeout) {
    bool done = false;
    static constexpr wl_callback_listener listener{
        .done = [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
    wl_callback* callback = wl_display_sync(display);
    wl_callback_add_listener(callback, &listener, &done);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const int fd = wl_display_get_fd(display);
    while (!done && wl_display_dispatch_pending(display) >= 0 && !done) {
        if (wl_display_prepare_read(display) != 0) continue;  // events queued: dispatch them
        const bool unsent = wl_display_flush(display) < 0 && errno == EAGAIN;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{
            .fd = fd, .events = static_cast<short>(POLLIN | (unsent ? POLLOUT : 0)), .revents = 0};
        const int polled = left.count() > 0 ? poll(&ready, 1, static_cast<int>(left.count())) : 0;
        if (polled > 0 && (ready.revents & POLLIN) != 0) {
            if (wl_display_read_events(display) < 0) break;
            continue;
        }
        wl_display_cancel_read(display);
        if (polled == 0 || (polled < 0 && errno != EINTR)) break;
    }
    wl_callback_destroy(callback);  // an answer that comes later finds no listener: harmless
    return done;
}

}  // namespace

// One connection with its virtual pointer. Declared in connection order, so the members go in
// reverse: the device first, the connection last.
struct WaylandVirtualPointer::Connection {
    Connection(const char* displayName, std::chrono::milliseconds timeout);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool Broken() const { return wl_display_get_error(display.get()) != 0; }
    static void OnGlobal(void* self, wl_registry* registry, std::uint32_t name,
                         const char* interface, std::uint32_t version);

    struct Disconnect {
        void operator()(wl_display* d) const { wl_display_disconnect(d); }
    };
    struct DestroyRegistry {
        void operator()(wl_registry* r) const { wl_registry_destroy(r); }
    };
    struct DestroyManager {
        void operator()(zwlr_virtual_pointer_manager_v1* m) const {
            zwlr_virtual_pointer_manager_v1_destroy(m);
        }
    };
    struct DestroyPointer {
        void operator()(zwlr_virtual_pointer_v1* p) const { zwlr_virtual_pointer_v1_destroy(p); }
    };
    std::unique_ptr<wl_display, Disconnect> display;
    std::unique_ptr<wl_registry, DestroyRegistry> registry;
    std::unique_ptr<zwlr_virtual_pointer_manager_v1, DestroyManager> manager;
    std::unique_ptr<zwlr_virtual_pointer_v1, DestroyPointer> pointer;
};

void WaylandVirtualPointer::Connection::OnGlobal(void* self, wl_registry* registry,
                                                 std::uint32_t name, const char* interface,
                                                 std::uint32_t version) {
    auto& connection = *static_cast<Connection*>(self);
    if (connection.manager ||
        std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) != 0)
        return;
    // Version 1 moves and clicks; version 2, where offered, also tells wheel clicks apart.
    const std::uint32_t bound = std::min(version, kScrollVersion);
    connection.manager.reset(static_cast<zwlr_virtual_pointer_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, bound)));
}

WaylandVirtualPointer::Connection::Connection(const char* displayName,
                                              std::chrono::milliseconds timeout)
    : display(wl_display_connect(displayName)) {
    if (!display) return;
    static constexpr wl_registry_listener listener{
        .global = &OnGlobal, .global_remove = [](void*, wl_registry*, std::uint32_t) {}};
    registry.reset(wl_display_get_registry(display.get()));
    wl_registry_add_listener(registry.get(), &listener, this);
    if (!AnsweredWithin(display.get(), timeout) || !manager) return;
    // A null seat: the compositor's default one, where the real mouse is.
    pointer.reset(zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager.get(), nullptr));
    // Once the compositor has made the device the seat has a pointer, before the first motion.
    if (!AnsweredWithin(display.get(), timeout)) pointer.reset();
}

bool WaylandVirtualPointer::CompositorReachable() {
    // Where libwayland cannot even name a socket (no inherited one, a relative name and no
    // absolute runtime folder) it says so on standard error, a line before the program's own:
    // the same test, made quietly.
    const char* name = std::getenv("WAYLAND_DISPLAY");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (std::getenv("WAYLAND_SOCKET") == nullptr && (name == nullptr || name[0] != '/') &&
        (runtime == nullptr || runtime[0] != '/'))
        return false;
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return false;
    wl_display_disconnect(display);
    return true;
}

WaylandVirtualPointer::Connection::~Connection() {
    // The destroy requests queue as the members go; send them before the connection closes, so
    // the device leaves the seat at once. A failure means the compositor is gone or busy anyway.
    pointer.reset();
    manager.reset();
    if (display) static_cast<void>(wl_display_flush(display.get()));
}

WaylandVirtualPointer::WaylandVirtualPointer(const char* displayName,
                                             std::chrono::milliseconds answerTimeout)
    : answerTimeout_(answerTimeout),
      connection_(std::make_unique<Connection>(displayName, answerTimeout)) {
    if (displayName != nullptr) displayName_ = displayName;
    if (!connection_->pointer || connection_->Broken()) connection_.reset();
}

WaylandVirtualPointer::~WaylandVirtualPointer() = default;

bool WaylandVirtualPointer::Ready() const {
    return connection_ != nullptr && !lost_;
}

int WaylandVirtualPointer::SocketForTest() const {
    return connection_ ? wl_display_get_fd(connection_->display.get()) : -1;
}

void WaylandVirtualPointer::Queue(const Event& event) {
    using enum Event::Kind;
    // Motions waiting in a row are one motion, scrolls one scroll: the compositor moves as far.
    if ((event.kind == Motion || event.kind == Scroll) && !waiting_.empty() &&
        waiting_.back().kind == event.kind) {
        Event& last = waiting_.back();
        last.dx = AddClamped(last.dx, event.dx);
        last.dy = AddClamped(last.dy, event.dy);
        last.notchesX = AddClamped(last.notchesX, event.notchesX);
        last.notchesY = AddClamped(last.notchesY, event.notchesY);
        return;
    }
    waiting_.push_back(event);
}

void WaylandVirtualPointer::Marshal(const Event& event) {
    zwlr_virtual_pointer_v1* pointer = connection_->pointer.get();
    const std::uint32_t now = NowMilliseconds();
    const bool discrete = zwlr_virtual_pointer_v1_get_version(pointer) >= kScrollVersion;
    // wl_pointer's axes grow rightwards and downwards: a wheel turned away is negative.
    struct Axis {
        std::uint32_t axis;
        std::int32_t units, notches;
    };
    const Axis axes[] = {{WL_POINTER_AXIS_VERTICAL_SCROLL, -event.dy, -event.notchesY},
                         {WL_POINTER_AXIS_HORIZONTAL_SCROLL, event.dx, event.notchesX}};
    switch (event.kind) {
        case Event::Kind::Motion:
            zwlr_virtual_pointer_v1_motion(pointer, now, wl_fixed_from_int(event.dx),
                                           wl_fixed_from_int(event.dy));
            break;
        case Event::Kind::Button:
            zwlr_virtual_pointer_v1_button(
                pointer, now, event.button,
                event.pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
            break;
        case Event::Kind::Scroll:
            if (discrete)
                zwlr_virtual_pointer_v1_axis_source(pointer, WL_POINTER_AXIS_SOURCE_WHEEL);
            for (const Axis& a : axes) {
                if (a.units == 0) continue;
                const wl_fixed_t value = wl_fixed_from_double(a.units * kAxisPerNotch / 120.0);
                if (discrete && a.notches != 0)
                    zwlr_virtual_pointer_v1_axis_discrete(pointer, now, a.axis, value, a.notches);
                else
                    zwlr_virtual_pointer_v1_axis(pointer, now, a.axis, value);
            }
            break;
        case Event::Kind::ScrollStop:
            if (discrete)
                zwlr_virtual_pointer_v1_axis_source(pointer, WL_POINTER_AXIS_SOURCE_WHEEL);
            for (const Axis& a : axes)
                if (a.notches != 0) zwlr_virtual_pointer_v1_axis_stop(pointer, now, a.axis);
            break;
    }
    zwlr_virtual_pointer_v1_frame(pointer);
    unconfirmed_.push_back(event);
}

void WaylandVirtualPointer::Confirm() {
    for (const Event& event : unconfirmed_) {
        if (event.kind != Event::Kind::Button) continue;
        std::erase(held_, event.button);
        if (event.pressed) held_.push_back(event.button);
    }
    unconfirmed_.clear();
}

bool WaylandVirtualPointer::Reconnect() {
    connection_.reset();  // the old device leaves the seat with its connection
    auto fresh = std::make_unique<Connection>(displayName_ ? displayName_->c_str() : nullptr,
                                              answerTimeout_);
    if (!fresh->pointer || fresh->Broken()) {
        lost_ = true;
        waiting_.clear();
        unconfirmed_.clear();
        return false;
    }
    connection_ = std::move(fresh);
    // The old device took its pressed buttons along; the new one holds them again. Events the
    // old connection may not have sent go out again: a motion may arrive twice, a button never
    // goes missing.
    std::vector<Event> again;
    for (std::uint32_t button : held_)
        again.push_back({.kind = Event::Kind::Button, .button = button, .pressed = true});
    held_.clear();
    again.insert(again.end(), unconfirmed_.begin(), unconfirmed_.end());
    again.insert(again.end(), waiting_.begin(), waiting_.end());
    unconfirmed_.clear();
    waiting_ = std::move(again);
    return true;
}

bool WaylandVirtualPointer::SendWaiting() {
    if (!Ready()) return false;
    for (;;) {
        if (connection_->Broken() && !Reconnect()) return false;
        if (wl_display_flush(connection_->display.get()) < 0) {
            if (errno == EAGAIN) break;  // the compositor is busy: keep the rest for later
            if (!Reconnect()) return false;
            continue;
        }
        Confirm();
        if (waiting_.empty()) break;
        const std::size_t count = std::min(waiting_.size(), kEventsPerWrite);
        for (std::size_t i = 0; i < count; ++i) Marshal(waiting_[i]);
        waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(count));
    }
    // Read whatever the compositor sent meanwhile (new outputs, errors) without waiting, so
    // nothing piles up in the socket over a long session.
    wl_display* display = connection_->display.get();
    if (wl_display_prepare_read(display) == 0) {
        pollfd ready{.fd = wl_display_get_fd(display), .events = POLLIN, .revents = 0};
        if (poll(&ready, 1, 0) > 0)
            static_cast<void>(wl_display_read_events(display));  // an error shows as Broken
        else
            wl_display_cancel_read(display);
    }
    static_cast<void>(wl_display_dispatch_pending(display));
    return !connection_->Broken() || Reconnect();
}

void WaylandVirtualPointer::Post(const Event& event) {
    Queue(event);
    const bool sent = SendWaiting();
    static_cast<void>(sent);  // the callers that report failures ask Ready() afterwards
    if (Waiting() && onWaiting_) onWaiting_();
}

bool WaylandVirtualPointer::MoveBy(std::int32_t dx, std::int32_t dy) {
    if (!Ready()) return false;
    Post({.kind = Event::Kind::Motion, .dx = dx, .dy = dy});
    return Ready();
}

void WaylandVirtualPointer::Send(MouseButtonEvent event) {
    if (!Ready()) return;
    const MouseButtonChange change = ChangeOf(event);
    Post({.kind = Event::Kind::Button,
          .button = EvdevButtonCode(change.button),
          .pressed = change.pressed});
}

bool WaylandVirtualPointer::ScrollBy(std::int32_t horizontal, std::int32_t vertical) {
    if (!Ready()) return false;
    scrolledX_ = scrolledX_ || horizontal != 0;
    scrolledY_ = scrolledY_ || vertical != 0;
    Post({.kind = Event::Kind::Scroll,
          .dx = horizontal,
          .dy = vertical,
          .notchesX = horizontal_.Add(horizontal),
          .notchesY = vertical_.Add(vertical)});
    return Ready();
}

void WaylandVirtualPointer::EndScroll() {
    if (!Ready() || (!scrolledX_ && !scrolledY_)) return;
    Post({.kind = Event::Kind::ScrollStop, .notchesX = scrolledX_, .notchesY = scrolledY_});
    scrolledX_ = scrolledY_ = false;
}

bool WaylandVirtualPointer::Sync() {
    return SendWaiting() && !Waiting() &&
           AnsweredWithin(connection_->display.get(), answerTimeout_);
}

}  // namespace vantrel
