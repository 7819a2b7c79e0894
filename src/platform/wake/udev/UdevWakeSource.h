// Wake-ups on Linux: the joystick's input-device node and the udev device monitor, both watched
// by the Qt event loop, so the program sleeps while nothing changes.
#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/engine/WakePorts.h"

struct udev;
struct udev_monitor;

namespace vantrel {

class UdevWakeSource : public WakeSourcePort {
  public:
    // The node of joystick `id`: nullopt when there is no such device (a device monitor tells
    // when one comes), "" for a device without one (an SDL virtual joystick).
    using NodeLookup = std::function<std::optional<std::string>(int id)>;

    // `withMonitor` false: no device monitor, so an absent device cannot be waited for.
    UdevWakeSource(NodeLookup nodeOf, bool withMonitor);
    ~UdevWakeSource() override;
    UdevWakeSource(const UdevWakeSource&) = delete;
    UdevWakeSource& operator=(const UdevWakeSource&) = delete;

    // True when a udev daemon runs: without one the monitor hears nothing.
    static bool DeviceManagerRunning();

    bool MonitorRunning() const { return monitorNotifier_ != nullptr; }

    void SetWakeHandler(std::function<void()> handler) override { handler_ = std::move(handler); }
    bool Watch(int id) override;
    void Unwatch() override;

  private:
    bool OpenNode(const std::string& path);
    void CloseNode();
    // Reads everything queued on the node; false once the device is gone.
    bool DrainNode();
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
    std::function<void()> handler_;
    bool armed_ = false;

    int nodeFd_ = -1;
    std::string nodePath_;
    Notifier nodeNotifier_;

    std::unique_ptr<udev, UdevDeleter> udev_;
    std::unique_ptr<udev_monitor, UdevDeleter> monitor_;
    Notifier monitorNotifier_;
};

}  // namespace vantrel
