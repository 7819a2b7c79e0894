#include "platform/wayland/WaylandVirtualPointer.h"

#include <linux/input-event-codes.h>
#include <poll.h>
#include <wayland-client.h>

#include <cerrno>
#include <chrono>
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

}  // namespace

void WaylandVirtualPointer::Disconnect::operator()(wl_display* display) const {
    wl_display_disconnect(display);
}
void WaylandVirtualPointer::DestroyRegistry::operator()(wl_registry* registry) const {
    wl_registry_destroy(registry);
}
void WaylandVirtualPointer::DestroyManager::operator()(
    zwlr_virtual_pointer_manager_v1* manager) const {
    zwlr_virtual_pointer_manager_v1_destroy(manager);
}
void WaylandVirtualPointer::DestroyPointer::operator()(zwlr_virtual_pointer_v1* pointer) const {
    zwlr_virtual_pointer_v1_destroy(pointer);
}

void WaylandVirtualPointer::OnGlobal(void* self, wl_registry* registry, std::uint32_t name,
                                     const char* interface, std::uint32_t /*version*/) {
    auto& pointer = *static_cast<WaylandVirtualPointer*>(self);
    if (pointer.manager_ || std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name))
        return;
    // Version 1 has everything used here.
    pointer.manager_.reset(static_cast<zwlr_virtual_pointer_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1)));
}

void WaylandVirtualPointer::OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

WaylandVirtualPointer::WaylandVirtualPointer(const char* displayName)
    : display_(wl_display_connect(displayName)) {
    if (!display_) return;
    static constexpr wl_registry_listener listener{.global = &OnGlobal,
                                                   .global_remove = &OnGlobalRemove};
    registry_.reset(wl_display_get_registry(display_.get()));
    wl_registry_add_listener(registry_.get(), &listener, this);
    if (wl_display_roundtrip(display_.get()) < 0 || !manager_) return;
    // A null seat: the compositor's default one, where the real mouse is.
    pointer_.reset(zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager_.get(), nullptr));
    // Once the compositor has made the device the seat has a pointer, before the first motion.
    if (wl_display_roundtrip(display_.get()) < 0) pointer_.reset();
}

bool WaylandVirtualPointer::CompositorReachable() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return false;
    wl_display_disconnect(display);
    return true;
}

WaylandVirtualPointer::~WaylandVirtualPointer() {
    // The destroy requests queue as the members go; send them before the connection closes, so
    // the device leaves the seat at once. A failure means the compositor is gone anyway.
    pointer_.reset();
    manager_.reset();
    if (display_) static_cast<void>(wl_display_flush(display_.get()));
}

bool WaylandVirtualPointer::Broken() const {
    return !display_ || wl_display_get_error(display_.get()) != 0;
}

bool WaylandVirtualPointer::Flush() {
    wl_display* display = display_.get();
    // A full socket (the compositor busy) keeps the rest queued for the next flush: not a failure.
    if (wl_display_flush(display) < 0 && errno != EAGAIN) return false;
    // Read whatever the compositor sent meanwhile (new outputs, errors) without waiting, so
    // nothing piles up in the socket over a long session.
    if (wl_display_prepare_read(display) == 0) {
        pollfd ready{.fd = wl_display_get_fd(display), .events = POLLIN, .revents = 0};
        if (poll(&ready, 1, 0) > 0)
            static_cast<void>(wl_display_read_events(display));  // an error shows in Broken()
        else
            wl_display_cancel_read(display);
    }
    static_cast<void>(wl_display_dispatch_pending(display));
    return !Broken();
}

bool WaylandVirtualPointer::MoveBy(std::int32_t dx, std::int32_t dy) {
    if (!Ready()) return false;
    zwlr_virtual_pointer_v1_motion(pointer_.get(), NowMilliseconds(), wl_fixed_from_int(dx),
                                   wl_fixed_from_int(dy));
    zwlr_virtual_pointer_v1_frame(pointer_.get());
    return Flush();
}

void WaylandVirtualPointer::Send(MouseButtonEvent event) {
    if (!Ready()) return;
    // Evdev's codes in the order of MouseButton.
    constexpr std::uint32_t kCodes[] = {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE};
    const MouseButtonChange change = ChangeOf(event);
    const std::uint32_t button = kCodes[static_cast<std::size_t>(change.button)];
    const bool pressed = change.pressed;
    zwlr_virtual_pointer_v1_button(
        pointer_.get(), NowMilliseconds(), button,
        pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(pointer_.get());
    const bool sent = Flush();
    static_cast<void>(sent);  // a button port has no failure to report; Ready() tells
}

bool WaylandVirtualPointer::Sync() {
    return Ready() && wl_display_roundtrip(display_.get()) >= 0;
}

}  // namespace vantrel
