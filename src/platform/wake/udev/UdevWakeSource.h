// Wake-ups on Linux: the joystick's input-device node and the udev device monitor, both watched
// by the Qt event loop, so the program sleeps while nothing changes. On an evdev node only
// what can end the rest wakes: a button, the stick or the scroll stick leaving its dead zone
// (not while paused), lost events; a stick that jitters inside the dead zone (pads whose driver
// filters nothing) costs one read.
#pragma once

#include <QSocketNotifier>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/engine/WakePorts.h"

struct input_event;
struct udev;
struct udev_monitor;

namespace vantrel {

class UdevWakeSource : public WakeSourcePort {
  public:
    // The node of joystick `id`: nullopt when there is no such device (a device monitor tells
    // when one comes), "" for a device without one (an SDL virtual joystick).
    using NodeLookup = std::function<std::optional<std::string>(int id)>;
    // The evdev codes (x, y) of joystick `id`'s scroll stick; -1 where it has none.
    using ScrollCodesLookup = std::function<std::array<int, 2>(int id)>;

    // `withMonitor` false: no device monitor, so an absent device cannot be waited for.
    // Without `scrollOf` the scroll stick wakes nothing.
    UdevWakeSource(NodeLookup nodeOf, bool withMonitor, ScrollCodesLookup scrollOf = {});
    ~UdevWakeSource() override;
    UdevWakeSource(const UdevWakeSource&) = delete;
    UdevWakeSource& operator=(const UdevWakeSource&) = delete;

    // True when a udev daemon runs: without one the monitor hears nothing.
    static bool DeviceManagerRunning();

    bool MonitorRunning() const { return monitorNotifier_ != nullptr; }

    void SetWakeHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    bool Watch(int id, WakeInput input) override;
    void Unwatch() override;

  private:
    bool OpenNode(const std::string& path, int id);
    void CloseNode();
    // Reads everything queued on the node; false once the device is gone. `ending` (when given)
    // is set when what was read can end the rest.
    bool DrainNode(bool* ending = nullptr);
    // Learns the sticks' axes and lets only them, the buttons and the report ends through.
    void ListenToStickAndButtons(int id);
    // Lets the sticks' axes through to this descriptor, or no axis at all.
    void LetSticksThrough(bool through);
    void SetEventMask(int type, unsigned char* bits, std::size_t size);
    // The stick's position as the node says now.
    void ReadStick();
    // Takes one event into the stick's position; true when it can end the rest.
    bool EndsRest(const input_event& event);
    void OnNodeReadable();
    void OnMonitorReadable();
    void Wake();

    struct UdevDeleter {
        void operator()(udev* u) const;
        void operator()(udev_monitor* m) const;
    };
    // Qt may still be delivering the notifier's signal when it is replaced.
    struct LaterDeleter {
        void operator()(QSocketNotifier* n) const { n->deleteLater(); }
    };
    using Notifier = std::unique_ptr<QSocketNotifier, LaterDeleter>;

    NodeLookup nodeOf_;
    ScrollCodesLookup scrollOf_;
    std::function<void()> handler_;
    bool armed_ = false;
    bool buttonsOnly_ = false;

    int nodeFd_ = -1;
    std::string nodePath_;
    Notifier nodeNotifier_;

    // The two axes a joystick library numbers 0 and 1 (the first absolute axes that are no
    // hat), then the scroll stick's two, with their range and last value; a code of -1 where
    // the node has none.
    struct StickAxis {
        int code = -1;
        int minimum = 0, maximum = 0, value = 0;
    };
    bool evdev_ = false;  // a node of input_event records (a joydev node has js_event ones)
    bool stickKnown_ = false;
    bool sticksThrough_ = false;
    std::array<StickAxis, 4> stick_{};

    std::unique_ptr<udev, UdevDeleter> udev_;
    std::unique_ptr<udev_monitor, UdevDeleter> monitor_;
    Notifier monitorNotifier_;
};

}  // namespace vantrel
