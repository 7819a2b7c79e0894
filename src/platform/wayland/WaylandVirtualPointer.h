// The pointer on wlroots compositors (sway, Hyprland, river, niri ...): a virtual pointer device
// of the seat, moved by distances and clicked through the wlr virtual-pointer interface.
#pragma once

#include <cstdint>
#include <memory>

#include "core/engine/MouseButtonPort.h"
#include "core/engine/PointerPort.h"

struct wl_display;
struct wl_registry;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;

namespace vantrel {

// Owns its own connection to the compositor. When that cannot be opened, or the compositor does
// not offer virtual pointers, Ready() is false and every call fails or does nothing.
class WaylandVirtualPointer : public RelativePointerPort, public MouseButtonPort {
  public:
    // `displayName` as WAYLAND_DISPLAY takes it (a socket name or path); null: WAYLAND_DISPLAY.
    explicit WaylandVirtualPointer(const char* displayName = nullptr);
    ~WaylandVirtualPointer() override;
    WaylandVirtualPointer(const WaylandVirtualPointer&) = delete;
    WaylandVirtualPointer& operator=(const WaylandVirtualPointer&) = delete;

    bool Ready() const { return pointer_ != nullptr && !Broken(); }

    // One motion and a frame, sent at once; compositors move the cursor by exactly (dx, dy).
    bool MoveBy(std::int32_t dx, std::int32_t dy) override;
    // BTN_LEFT / BTN_RIGHT / BTN_MIDDLE pressed or released, each in a frame of its own.
    void Send(MouseButtonEvent event) override;

    // Waits until the compositor has handled everything sent so far.
    bool Sync();

    // Whether a compositor's socket takes a connection (WAYLAND_DISPLAY, else wayland-0); no
    // round trip, so a stalled compositor cannot hold the caller.
    static bool CompositorReachable();

  private:
    bool Broken() const;
    bool Flush();
    static void OnGlobal(void* self, wl_registry* registry, std::uint32_t name,
                         const char* interface, std::uint32_t version);
    static void OnGlobalRemove(void* self, wl_registry* registry, std::uint32_t name);

    struct Disconnect {
        void operator()(wl_display* display) const;
    };
    struct DestroyRegistry {
        void operator()(wl_registry* registry) const;
    };
    struct DestroyManager {
        void operator()(zwlr_virtual_pointer_manager_v1* manager) const;
    };
    struct DestroyPointer {
        void operator()(zwlr_virtual_pointer_v1* pointer) const;
    };
    // Declared in connection order, so they go in reverse: the device first, the connection last.
    std::unique_ptr<wl_display, Disconnect> display_;
    std::unique_ptr<wl_registry, DestroyRegistry> registry_;
    std::unique_ptr<zwlr_virtual_pointer_manager_v1, DestroyManager> manager_;
    std::unique_ptr<zwlr_virtual_pointer_v1, DestroyPointer> pointer_;
};

}  // namespace vantrel
