#include "platform/x11/X11Pointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdint>

namespace vantrel {

namespace {

// The protocol carries coordinates as 16-bit values: clamp, so a far-off target lands on the
// nearer edge instead of wrapping round to the opposite one.
int ProtocolCoordinate(std::int32_t value) {
    return std::clamp<std::int32_t>(value, -32768, 32767);
}

}  // namespace

void X11Pointer::Closer::operator()(_XDisplay* display) const {
    XCloseDisplay(display);
}

X11Pointer::X11Pointer() : display_(XOpenDisplay(nullptr)) {
    if (!display_) return;
    Display* display = display_.get();
    screen_ = DefaultScreen(display);
    root_ = RootWindow(display, screen_);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    xtest_ = XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) == True;
}

X11Pointer::~X11Pointer() = default;

bool X11Pointer::QueryPosition(ScreenPoint& point) {
    if (!display_) return false;
    ++roundTrips_;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned int mask = 0;
    // False means the pointer is on another screen; its coordinates are then not ours.
    if (XQueryPointer(display_.get(), root_, &root, &child, &rootX, &rootY, &windowX, &windowY,
                      &mask) != True)
        return false;
    point.x = rootX;
    point.y = rootY;
    return true;
}

bool X11Pointer::PlaceAt(std::int32_t x, std::int32_t y) {
    if (!display_) return false;
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

void X11Pointer::Send(MouseEvent event) {
    if (!display_ || !xtest_) return;
    unsigned int button = 0;
    Bool press = False;
    switch (event) {
        case MouseEvent::LeftDown:
            button = 1, press = True;
            break;
        case MouseEvent::LeftUp:
            button = 1;
            break;
        case MouseEvent::RightDown:
            button = 3, press = True;
            break;
        case MouseEvent::RightUp:
            button = 3;
            break;
        case MouseEvent::MiddleDown:
            button = 2, press = True;
            break;
        case MouseEvent::MiddleUp:
            button = 2;
            break;
    }
    if (button == 0) return;
    XTestFakeButtonEvent(display_.get(), button, press, CurrentTime);
    XFlush(display_.get());
}

bool X11Pointer::Sync() {
    if (!display_) return false;
    ++roundTrips_;
    XSync(display_.get(), False);
    return true;
}

}  // namespace vantrel
