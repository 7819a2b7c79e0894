#include "support/XInput.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace vantrel::test {

bool XClick(int x, int y, int button, int clicks) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    const bool ok = XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor);
    if (ok) {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        for (int i = 0; i < clicks; ++i) {
            XTestFakeButtonEvent(display, static_cast<unsigned>(button), True, CurrentTime);
            XTestFakeButtonEvent(display, static_cast<unsigned>(button), False, 30);
        }
        XSync(display, False);
    }
    XCloseDisplay(display);
    return ok;
}

ServerPointer XPointer() {
    ServerPointer pointer;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return pointer;
    Window root = 0, child = 0;
    int windowX = 0, windowY = 0;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &pointer.x, &pointer.y,
                  &windowX, &windowY, &mask);
    pointer.leftDown = (mask & Button1Mask) != 0;
    XCloseDisplay(display);
    return pointer;
}

}  // namespace vantrel::test
