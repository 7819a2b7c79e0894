#include "platform/wake/udev/UdevWakeSource.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "core/engine/PollEngine.h"

namespace vantrel {

namespace {

bool BitSet(const unsigned char* bits, int bit) {
    return (bits[bit / 8] & (1u << (bit % 8))) != 0;
}

bool IsHat(int code) {
    return code >= ABS_HAT0X && code <= ABS_HAT3Y;
}

}  // namespace

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

UdevWakeSource::UdevWakeSource(NodeLookup nodeOf, bool withMonitor, ScrollCodesLookup scrollOf)
    : nodeOf_(std::move(nodeOf)), scrollOf_(std::move(scrollOf)) {
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

bool UdevWakeSource::Watch(int id, WakeInput input) {
    armed_ = false;
    buttonsOnly_ = input == WakeInput::ButtonsOnly;
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
        if (!OpenNode(*node, id)) return false;
    }
    // What came before this call the tick has seen (or the caller reads again); a device that
    // is going away leaves the caller polling until the joystick library notices.
    if (!DrainNode()) {
        CloseNode();
        return false;
    }
    if (stickKnown_) {
        // While paused the sticks are the game's: the kernel need not wake us for them.
        if (sticksThrough_ == buttonsOnly_) LetSticksThrough(!buttonsOnly_);
        ReadStick();
    }
    nodeNotifier_->setEnabled(true);
    armed_ = true;
    return true;
}

void UdevWakeSource::Unwatch() {
    armed_ = false;
    if (nodeNotifier_) nodeNotifier_->setEnabled(false);
}

bool UdevWakeSource::OpenNode(const std::string& path, int id) {
    // Our own descriptor: the kernel gives every reader its own copy of the events, so SDL's
    // reading is untouched.
    nodeFd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (nodeFd_ < 0) return false;
    nodePath_ = path;
    evdev_ = path.rfind("/dev/input/event", 0) == 0;
    if (evdev_) ListenToStickAndButtons(id);
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
    evdev_ = false;
    stickKnown_ = false;
    sticksThrough_ = false;
    stick_ = {};
}

void UdevWakeSource::ListenToStickAndButtons(int id) {
    unsigned char absBits[ABS_CNT / 8 + 1]{};
    if (ioctl(nodeFd_, EVIOCGBIT(EV_ABS, sizeof absBits), absBits) < 0) return;
    const auto axisOf = [this](int code) -> StickAxis {
        input_absinfo info{};
        if (ioctl(nodeFd_, EVIOCGABS(code), &info) < 0) return {};  // the library skips it too
        return {code, info.minimum, info.maximum, info.value};
    };
    std::size_t found = 0;
    for (int code = 0; code < ABS_CNT && found < 2; ++code) {
        if (!BitSet(absBits, code) || IsHat(code)) continue;
        if (const StickAxis axis = axisOf(code); axis.code >= 0) stick_[found++] = axis;
    }
    // The scroll stick as the joystick library took it; the scroll setting the tick decides.
    const std::array<int, 2> scroll = scrollOf_ ? scrollOf_(id) : std::array{-1, -1};
    for (std::size_t i = 0; i < scroll.size(); ++i)
        if (scroll[i] >= 0 && scroll[i] < ABS_CNT && BitSet(absBits, scroll[i]))
            stick_[2 + i] = axisOf(scroll[i]);
    stickKnown_ = true;
    // The kernel then wakes this descriptor for nothing else: the triggers, the pad's hat and
    // scan codes are none of the tick's business. A kernel without event
    // masks (before 4.4) passes everything on, and EndsRest sorts it out.
    unsigned char none[MSC_CNT / 8 + 1]{};
    SetEventMask(EV_MSC, none, sizeof none);
    LetSticksThrough(true);
}

void UdevWakeSource::LetSticksThrough(bool through) {
    unsigned char stickBits[ABS_CNT / 8 + 1]{};
    if (through)
        for (const StickAxis& axis : stick_)
            if (axis.code >= 0) stickBits[axis.code / 8] |= 1u << (axis.code % 8);
    SetEventMask(EV_ABS, stickBits, sizeof stickBits);
    sticksThrough_ = through;
}

void UdevWakeSource::SetEventMask(int type, unsigned char* bits, std::size_t size) {
    input_mask mask{static_cast<std::uint32_t>(type), static_cast<std::uint32_t>(size),
                    reinterpret_cast<std::uintptr_t>(bits)};
    static_cast<void>(ioctl(nodeFd_, EVIOCSMASK, &mask));  // only an economy: EndsRest decides
}

void UdevWakeSource::ReadStick() {
    for (StickAxis& axis : stick_) {
        input_absinfo info{};
        if (axis.code >= 0 && ioctl(nodeFd_, EVIOCGABS(axis.code), &info) == 0)
            axis.value = info.value;
    }
}

bool UdevWakeSource::EndsRest(const input_event& event) {
    if (event.type == EV_KEY) return true;
    if (event.type == EV_SYN) return event.code == SYN_DROPPED;  // the state is unknown now
    if (event.type != EV_ABS || buttonsOnly_) return false;
    if (!stickKnown_) return true;
    auto axis = std::find_if(stick_.begin(), stick_.end(),
                             [&](const StickAxis& a) { return a.code == event.code; });
    if (axis == stick_.end()) return false;
    axis->value = event.value;
    // The reading the joystick library makes of it (0..65535, a missing axis centred), taken
    // one step of the device further out so that its rounding can never see a push first.
    const auto scaled = [](const StickAxis& a) -> std::uint32_t {
        if (a.code < 0 || a.maximum <= a.minimum) return 32767;
        const std::int64_t span = std::int64_t{a.maximum} - a.minimum;
        const std::int64_t outward =
            2 * std::int64_t{a.value} >= std::int64_t{a.minimum} + a.maximum ? 1 : -1;
        const std::int64_t raw = std::clamp<std::int64_t>(a.value + outward, a.minimum, a.maximum);
        return static_cast<std::uint32_t>(((raw - a.minimum) * 65535 * 2 + span) / (2 * span));
    };
    JoystickState reading;
    reading.x = scaled(stick_[0]);
    reading.y = scaled(stick_[1]);
    reading.scrollX = scaled(stick_[2]);
    reading.scrollY = scaled(stick_[3]);
    return !PollEngine::IsRestReading(reading, true);
}

bool UdevWakeSource::DrainNode(bool* ending) {
    // Whole input_event records on evdev (the kernel hands out no part of one), js_event
    // records on joydev, where any input counts.
    input_event events[64];
    for (;;) {
        const ssize_t got = read(nodeFd_, events, sizeof events);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got < 0 && errno == EAGAIN;  // 0 or ENODEV: the device is gone
        if (ending == nullptr) continue;
        const auto count = static_cast<std::size_t>(got) / sizeof(input_event);
        if (!evdev_ || static_cast<std::size_t>(got) % sizeof(input_event) != 0) *ending = true;
        for (std::size_t i = 0; i < count && !*ending; ++i) *ending = EndsRest(events[i]);
        // A short read took the whole queue: spare the read that would only say so (a
        // level-triggered notifier calls again if more came in between).
        if (static_cast<std::size_t>(got) < sizeof events) return true;
    }
}

void UdevWakeSource::OnNodeReadable() {
    // Emptied at once, or the level-triggered notifier would fire again and again.
    bool ending = false;
    if (!DrainNode(&ending)) {
        CloseNode();  // unplugged: reading on would return ENODEV forever
        Wake();
    } else if (ending) {
        nodeNotifier_->setEnabled(false);
        Wake();
    }
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
