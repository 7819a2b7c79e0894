#include "platform/pointer/xtest/X11Pointer.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>  // xcb_poll_for_reply

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace vantrel {

namespace {

// The protocol carries coordinates as 16-bit values: clamp, so a far-off target lands on the
// nearer edge instead of wrapping round to the opposite one.
int ProtocolCoordinate(std::int32_t value) {
    return std::clamp<std::int32_t>(value, -32768, 32767);
}

// XCB hands out replies and errors in malloc'ed memory.
struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};

// Whether the server has hung up: the first request that finds it so makes Xlib end the process,
// and an end of the session that lets go of a held button must still end the program's own way.
bool ServerGone(Display* display) {
    if (xcb_connection_has_error(XGetXCBConnection(display)) != 0) return true;
    pollfd socket{.fd = ConnectionNumber(display), .events = POLLRDHUP, .revents = 0};
    return poll(&socket, 1, 0) > 0 && (socket.revents & (POLLHUP | POLLRDHUP | POLLERR)) != 0;
}

}  // namespace

void X11Pointer::Closer::operator()(_XDisplay* display) const {
    XCloseDisplay(display);
}

X11Pointer::X11Pointer(_XDisplay* sameServerAs)
    : display_(XOpenDisplay(sameServerAs != nullptr ? DisplayString(sameServerAs) : nullptr)) {
    if (!display_) return;
    Display* display = display_.get();
    screen_ = DefaultScreen(display);
    root_ = RootWindow(display, screen_);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    xtest_ = XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) == True;
    singleScreen_ = ScreenCount(display) == 1;
}

X11Pointer::~X11Pointer() {
    DropPrefetch();
}

X11Reach X11Pointer::Reach() const {
    if (!display_) return X11Reach::NoDisplay;
    return xtest_ ? X11Reach::Ready : X11Reach::NoXTest;
}

bool X11Pointer::DisplayAnswers(const std::string& name) {
    const std::unique_ptr<_XDisplay, Closer> display(
        XOpenDisplay(name.empty() ? nullptr : name.c_str()));
    return display != nullptr;
}

bool X11Pointer::QueryPosition(ScreenPoint& point) {
    if (!display_) return false;
    DropPrefetch();  // a fresh read makes it pointless
    ++roundTrips_;
    ++waits_;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned int mask = 0;
    // False means the pointer is on another screen; its coordinates are then not ours.
    onOurScreen_ = XQueryPointer(display_.get(), root_, &root, &child, &rootX, &rootY, &windowX,
                                 &windowY, &mask) == True;
    if (!onOurScreen_) return false;
    point.x = rootX;
    point.y = rootY;
    return true;
}

bool X11Pointer::QueryPositionForDisplay(ScreenPoint& point) {
    if (!display_) return false;
    const bool usable =
        prefetchPending_ && std::chrono::steady_clock::now() - prefetchSent_ <= prefetchMaxAge_;
    const bool read = usable ? CollectPrefetch(point) : QueryPosition(point);
    SendPrefetch();
    return read;
}

void X11Pointer::SendPrefetch() {
    // Xlib runs on XCB: a request sent through XCB on the same connection keeps its place in
    // the request order, and Xlib never sees its reply.
    xcb_connection_t* connection = XGetXCBConnection(display_.get());
    prefetchSequence_ = xcb_query_pointer(connection, static_cast<xcb_window_t>(root_)).sequence;
    prefetchPending_ = true;
    prefetchSent_ = std::chrono::steady_clock::now();
    ++roundTrips_;
    // A failed write breaks the connection; the collect then finds no reply and says so.
    const int flushed = xcb_flush(connection);
    static_cast<void>(flushed);
}

bool X11Pointer::CollectPrefetch(ScreenPoint& point) {
    xcb_connection_t* connection = XGetXCBConnection(display_.get());
    prefetchPending_ = false;
    void* raw = nullptr;
    xcb_generic_error_t* rawError = nullptr;
    // Normally the reply is already in; reading it then takes one non-blocking read.
    if (xcb_poll_for_reply(connection, prefetchSequence_, &raw, &rawError) == 0) {
        ++waits_;  // a server more than a tick behind: wait for it after all
        raw = xcb_query_pointer_reply(connection, xcb_query_pointer_cookie_t{prefetchSequence_},
                                      &rawError);
    }
    const std::unique_ptr<xcb_query_pointer_reply_t, FreeDeleter> reply(
        static_cast<xcb_query_pointer_reply_t*>(raw));
    const std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(rawError);
    // As with XQueryPointer: a pointer on another screen has no coordinates of ours.
    onOurScreen_ = reply && !error && reply->same_screen != 0;
    if (!onOurScreen_) return false;
    point.x = reply->root_x;
    point.y = reply->root_y;
    return true;
}

void X11Pointer::DropPrefetch() {
    if (!prefetchPending_) return;
    prefetchPending_ = false;
    xcb_discard_reply(XGetXCBConnection(display_.get()), prefetchSequence_);
}

bool X11Pointer::PlaceAt(std::int32_t x, std::int32_t y) {
    if (!display_) return false;
    DropPrefetch();  // its answer may predate this move
    Display* display = display_.get();
    // XTest moves the pointer like the device would, which every client sees as real motion;
    // a warp is the fallback on servers without the extension.
    if (xtest_)
        XTestFakeMotionEvent(display, screen_, ProtocolCoordinate(x), ProtocolCoordinate(y),
                             CurrentTime);
    else
        XWarpPointer(display, None, root_, 0, 0, 0, 0, ProtocolCoordinate(x),
                     ProtocolCoordinate(y));
    // No flush of its own: a flush costs four system calls, the query that follows sends this
    // request along with its own.
    return true;
}

bool X11Pointer::ShiftBy(std::int32_t dx, std::int32_t dy) {
    if (!display_ || !xtest_ || !singleScreen_ || !onOurScreen_) return false;
    // A distance beyond 16 bits ends at the screen's edge either way.
    if (dx != 0 || dy != 0)
        XTestFakeRelativeMotionEvent(display_.get(), ProtocolCoordinate(dx), ProtocolCoordinate(dy),
                                     CurrentTime);
    // Neither a flush nor a dropped query: the query that ends the tick carries this request,
    // and the one pending from the last tick is only ever shown.
    return true;
}

void X11Pointer::Send(MouseButtonEvent event) {
    if (!display_ || !xtest_ || ServerGone(display_.get())) return;
    // X's button numbers in the order of MouseButton.
    constexpr unsigned int kButtons[] = {1, 3, 2};
    const MouseButtonChange change = ChangeOf(event);
    const unsigned int button = kButtons[static_cast<std::size_t>(change.button)];
    const Bool press = change.pressed ? True : False;
    DropPrefetch();  // a click may make something move the pointer
    XTestFakeButtonEvent(display_.get(), button, press, CurrentTime);
    XFlush(display_.get());
}

bool X11Pointer::ScrollBy(std::int32_t horizontal, std::int32_t vertical) {
    if (!display_ || !xtest_ || ServerGone(display_.get())) return false;
    struct Wheel {
        std::int32_t notches;
        unsigned int positive, negative;  // the buttons for each way
    };
    const Wheel wheels[] = {{vertical_.Add(vertical), 4, 5}, {horizontal_.Add(horizontal), 7, 6}};
    for (const Wheel& wheel : wheels) {
        const unsigned int button = wheel.notches > 0 ? wheel.positive : wheel.negative;
        for (std::int32_t i = 0; i < std::abs(wheel.notches); ++i) {
            XTestFakeButtonEvent(display_.get(), button, True, CurrentTime);
            XTestFakeButtonEvent(display_.get(), button, False, CurrentTime);
        }
    }
    // No flush and no dropped query, as for ShiftBy: a wheel moves no pointer, and the query
    // that the tick makes next carries the clicks.
    return true;
}

bool X11Pointer::Sync() {
    if (!display_) return false;
    ++roundTrips_;
    ++waits_;
    XSync(display_.get(), False);
    return true;
}

}  // namespace vantrel
