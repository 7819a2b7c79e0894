#include "platform/wake/udev/UdevWakeSource.h"

#include <fcntl.h>
#include <libudev.h>
#include <unistd.h>

#include <cerrno>

namespace vantrel {

void UdevWakeSource::UdevDeleter::operator()(udev* u) const {
    udev_unref(u);
}

void UdevWakeSource::UdevDeleter::operator()(udev_monitor* m) const {
    udev_monitor_unref(m);
}

bool UdevWakeSource::DeviceManagerRunning() {
    // The control socket exists while systemd-udevd runs (containers usually have none).
    return access("/run/udev/control", F_OK) == 0;
}

UdevWakeSource::UdevWakeSource(NodeLookup nodeOf, bool withMonitor) : nodeOf_(std::move(nodeOf)) {
    if (!withMonitor) return;
    udev_.reset(udev_new());
    if (!udev_) return;
    monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
    if (!monitor_) return;
    // Joysticks are input devices; whatever else comes and goes is none of ours.
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), "input", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_.get()) < 0) {
        monitor_.reset();
        return;
    }
    // Always on: a device that comes between a tick and the arming must not go unnoticed, and
    // plugging is rare enough that the wake-ups while polling cost nothing.
    monitorNotifier_.reset(
        new QSocketNotifier(udev_monitor_get_fd(monitor_.get()), QSocketNotifier::Read));
    QObject::connect(monitorNotifier_.get(), &QSocketNotifier::activated, monitorNotifier_.get(),
                     [this] { OnMonitorReadable(); });
}

UdevWakeSource::~UdevWakeSource() {
    // Not inside their signals here, and the event loop may be gone: deleted at once.
    delete nodeNotifier_.release();
    delete monitorNotifier_.release();
    CloseNode();
}

bool UdevWakeSource::Watch(int id) {
    armed_ = false;
    const std::optional<std::string> node = nodeOf_ ? nodeOf_(id) : std::nullopt;
    if (!node) {
        // No device: only the monitor can tell when one is plugged in.
        CloseNode();
        armed_ = MonitorRunning();
        return armed_;
    }
    // Only evdev and joydev nodes speak only on a change; a hidraw node (SDL's HIDAPI drivers)
    // sends reports all the time, and a virtual joystick has none: keep polling those.
    if (node->rfind("/dev/input/", 0) != 0) return false;
    if (*node != nodePath_ || nodeFd_ < 0) {
        CloseNode();
        if (!OpenNode(*node)) return false;
    }
    // What came before this call the tick has seen (or the caller reads again); a device that
    // is going away leaves the caller polling until the joystick library notices.
    if (!DrainNode()) {
        CloseNode();
        return false;
    }
    nodeNotifier_->setEnabled(true);
    armed_ = true;
    return true;
}

void UdevWakeSource::Unwatch() {
    armed_ = false;
    if (nodeNotifier_) nodeNotifier_->setEnabled(false);
}

bool UdevWakeSource::OpenNode(const std::string& path) {
    // Our own descriptor: the kernel gives every reader its own copy of the events, so SDL's
    // reading is untouched.
    nodeFd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (nodeFd_ < 0) return false;
    nodePath_ = path;
    nodeNotifier_.reset(new QSocketNotifier(nodeFd_, QSocketNotifier::Read));
    nodeNotifier_->setEnabled(false);
    QObject::connect(nodeNotifier_.get(), &QSocketNotifier::activated, nodeNotifier_.get(),
                     [this] { OnNodeReadable(); });
    return true;
}

void UdevWakeSource::CloseNode() {
    if (nodeNotifier_) {
        nodeNotifier_->setEnabled(false);
        nodeNotifier_.reset();
    }
    if (nodeFd_ >= 0) close(nodeFd_);
    nodeFd_ = -1;
    nodePath_.clear();
}

bool UdevWakeSource::DrainNode() {
    // Whole input_event records on evdev, js_event records on joydev: any size will do, only
    // the end of the queue matters.
    char discard[1024];
    for (;;) {
        const ssize_t got = read(nodeFd_, discard, sizeof discard);
        if (got > 0) continue;
        if (got < 0 && errno == EINTR) continue;
        return got < 0 && errno == EAGAIN;  // 0 or ENODEV: the device is gone
    }
}

void UdevWakeSource::OnNodeReadable() {
    // Emptied at once, or the level-triggered notifier would fire again and again.
    if (!DrainNode())
        CloseNode();  // unplugged: reading on would return ENODEV forever
    else
        nodeNotifier_->setEnabled(false);
    Wake();
}

void UdevWakeSource::OnMonitorReadable() {
    // Every queued event taken, whether armed or not.
    while (udev_device* device = udev_monitor_receive_device(monitor_.get()))
        udev_device_unref(device);
    Wake();
}

void UdevWakeSource::Wake() {
    if (!armed_) return;
    armed_ = false;
    if (nodeNotifier_) nodeNotifier_->setEnabled(false);
    if (handler_) handler_();
}

}  // namespace vantrel
