#include "support/ScriptedJoystick.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/time.h>
#include <termios.h>
#include <umockdev.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace vantrel::test {

namespace {

constexpr int kAxisMin = -32768;
constexpr int kAxisMax = 32767;
// A reader that never reads (a descriptor kept open while the program polls) keeps this many
// events; the kernel's buffer drops the oldest too.
constexpr std::size_t kQueueLimit = 1024;

void SetBit(std::vector<unsigned char>& bits, int bit) {
    if (static_cast<std::size_t>(bit / 8) < bits.size()) bits[bit / 8] |= 1u << (bit % 8);
}

}  // namespace

struct ScriptedJoystick::Impl {
    std::string node;
    std::string sysPath;
    UMockdevTestbed* bed = nullptr;
    UMockdevIoctlBase* handler = nullptr;
    // The device's end of the node. umockdev makes the node a pty that every descriptor of the
    // program shares, so it carries no events, only a byte per report that makes the node
    // readable; the events come through the read handler, a queue per descriptor.
    int bell = -1;
    int bellReader = -1;  // the node's own side, to empty the bell once nobody has events left

    std::mutex lock;
    // One per descriptor. Descriptors that were opened only to look (SDL probes each node) and
    // closed never read; umockdev does not say when they go, so only readers count.
    struct Reader {
        std::deque<input_event> queue;
        bool reads = false;
    };
    std::map<UMockdevIoctlClient*, Reader> readers;
    std::array<int, 2> axes{0, 0};
    unsigned buttons = 0;
    bool gone = false;
    std::atomic<unsigned long> reads{0};

    // Empties the bell when no descriptor has anything left to read: the node polls readable
    // exactly while some reader is owed events. Called with the lock held.
    void SilenceBellIfRead() {
        for (const auto& [client, reader] : readers)
            if (reader.reads && !reader.queue.empty()) return;
        if (!gone) tcflush(bellReader, TCIFLUSH);
    }

    void Push(std::vector<input_event> events) {
        const std::lock_guard guard(lock);
        for (auto& [client, reader] : readers) {
            reader.queue.insert(reader.queue.end(), events.begin(), events.end());
            while (reader.queue.size() > kQueueLimit) reader.queue.pop_front();
        }
        const char ring = 1;
        static_cast<void>(write(bell, &ring, 1));  // a full pty is readable anyway
    }

    // The answer to one evdev query, into `out`; the ioctl's result, or -errno.
    long Answer(unsigned long request, std::vector<unsigned char>& out) {
        const unsigned size = _IOC_SIZE(request);
        const unsigned nr = _IOC_NR(request);
        if (_IOC_TYPE(request) != 'E' || _IOC_DIR(request) != _IOC_READ) return -ENOTTY;
        if (gone) return -ENODEV;
        out.assign(size, 0);
        if (request == EVIOCGVERSION) {
            const int version = EV_VERSION;
            std::memcpy(out.data(), &version, sizeof version);
            return 0;
        }
        if (request == EVIOCGID) {
            const input_id id{BUS_USB, 0x1209, 0x7a11, 0x0111};
            std::memcpy(out.data(), &id, sizeof id);
            return 0;
        }
        if (nr == _IOC_NR(EVIOCGNAME(0))) {
            const std::size_t length = std::min<std::size_t>(size, std::strlen(kName) + 1);
            std::memcpy(out.data(), kName, length);
            return static_cast<long>(length);
        }
        if (nr == _IOC_NR(EVIOCGKEY(0))) {
            for (int i = 0; i < kButtons; ++i)
                if ((buttons & (1u << i)) != 0) SetBit(out, BTN_SOUTH + i);
            return size;
        }
        if (nr == _IOC_NR(EVIOCGPROP(0)) || nr == _IOC_NR(EVIOCGLED(0)) ||
            nr == _IOC_NR(EVIOCGSW(0)) || nr == _IOC_NR(EVIOCGSND(0)))
            return size;
        if (nr >= _IOC_NR(EVIOCGBIT(0, 0)) && nr < _IOC_NR(EVIOCGBIT(EV_MAX, 0))) {
            switch (nr - _IOC_NR(EVIOCGBIT(0, 0))) {
                case 0:
                    for (int type : {EV_SYN, EV_KEY, EV_ABS}) SetBit(out, type);
                    break;
                case EV_KEY:
                    for (int i = 0; i < kButtons; ++i) SetBit(out, BTN_SOUTH + i);
                    break;
                case EV_ABS:
                    SetBit(out, ABS_X);
                    SetBit(out, ABS_Y);
                    break;
                default:
                    break;
            }
            return size;
        }
        if (nr >= _IOC_NR(EVIOCGABS(0)) && nr < _IOC_NR(EVIOCGABS(ABS_CNT)) &&
            size == sizeof(input_absinfo)) {
            const unsigned axis = nr - _IOC_NR(EVIOCGABS(0));
            if (axis > ABS_Y) return -EINVAL;
            input_absinfo info{};
            info.value = axes[axis];
            info.minimum = kAxisMin;
            info.maximum = kAxisMax;
            std::memcpy(out.data(), &info, sizeof info);
            return 0;
        }
        return -ENOTTY;
    }

    static gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
        auto& self = *static_cast<Impl*>(data);
        const std::lock_guard guard(self.lock);
        std::vector<unsigned char> out;
        const long result = self.Answer(umockdev_ioctl_client_get_request(client), out);
        if (result < 0) {
            umockdev_ioctl_client_complete(client, -1, static_cast<gint>(-result));
            return TRUE;
        }
        if (!out.empty()) {
            UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
            UMockdevIoctlData* target = umockdev_ioctl_data_resolve(arg, 0, out.size(), nullptr);
            umockdev_ioctl_data_update(target, 0, out.data(), static_cast<gint>(out.size()));
        }
        umockdev_ioctl_client_complete(client, result, 0);
        return TRUE;
    }

    static gboolean OnRead(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
        auto& self = *static_cast<Impl*>(data);
        ++self.reads;
        const std::lock_guard guard(self.lock);
        if (self.gone) {
            umockdev_ioctl_client_complete(client, -1, ENODEV);
            return TRUE;
        }
        Reader& reader = self.readers[client];
        reader.reads = true;
        std::deque<input_event>& queue = reader.queue;
        UMockdevIoctlData* buffer = umockdev_ioctl_client_get_arg(client);
        const std::size_t fits = static_cast<std::size_t>(buffer->data_len) / sizeof(input_event);
        const std::size_t count = std::min(fits, queue.size());
        if (count == 0) {
            self.SilenceBellIfRead();
            umockdev_ioctl_client_complete(client, -1, EAGAIN);
            return TRUE;
        }
        std::vector<input_event> taken(queue.begin(), queue.begin() + static_cast<long>(count));
        queue.erase(queue.begin(), queue.begin() + static_cast<long>(count));
        const auto bytes = static_cast<gint>(count * sizeof(input_event));
        umockdev_ioctl_data_update(buffer, 0, reinterpret_cast<guint8*>(taken.data()), bytes);
        self.SilenceBellIfRead();
        umockdev_ioctl_client_complete(client, bytes, 0);
        return TRUE;
    }

    // A new descriptor hears only what comes after its open, as from the kernel.
    static void OnConnected(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
        auto& self = *static_cast<Impl*>(data);
        const std::lock_guard guard(self.lock);
        self.readers[client];
    }

    static void OnVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
        auto& self = *static_cast<Impl*>(data);
        const std::lock_guard guard(self.lock);
        self.readers.erase(client);
        self.SilenceBellIfRead();
    }
};

ScriptedJoystick::ScriptedJoystick(int number) : impl_(std::make_unique<Impl>()) {
    Impl& d = *impl_;
    const std::string event = "event" + std::to_string(number);
    d.node = "/dev/input/" + event;
    d.sysPath = "/sys/devices/virtual/input/input" + std::to_string(number + 20) + "/" + event;
    // What udev's input_id builtin says about a gamepad; SDL takes joysticks from udev by it.
    const std::string description =
        "P: " + d.sysPath.substr(4) + "\nN: input/" + event +
        "\nE: SUBSYSTEM=input\nE: DEVNAME=" + d.node +
        "\nE: MAJOR=13\nE: MINOR=" + std::to_string(64 + number) +
        "\nE: ID_INPUT=1\nE: ID_INPUT_JOYSTICK=1\nA: dev=13:" + std::to_string(64 + number) + "\n";
    d.bed = umockdev_testbed_new();
    if (!umockdev_testbed_add_from_string(d.bed, description.c_str(), nullptr)) return;
    d.handler = umockdev_ioctl_base_new();
    g_signal_connect(d.handler, "handle-ioctl", G_CALLBACK(Impl::OnIoctl), &d);
    g_signal_connect(d.handler, "handle-read", G_CALLBACK(Impl::OnRead), &d);
    g_signal_connect(d.handler, "client-connected", G_CALLBACK(Impl::OnConnected), &d);
    g_signal_connect(d.handler, "client-vanished", G_CALLBACK(Impl::OnVanished), &d);
    if (!umockdev_testbed_attach_ioctl(d.bed, d.node.c_str(), d.handler, nullptr)) return;
    d.bell = umockdev_testbed_get_dev_fd(d.bed, d.node.c_str());
    if (d.bell < 0) return;
    const char* peer = ptsname(d.bell);
    if (peer != nullptr) d.bellReader = open(peer, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

ScriptedJoystick::~ScriptedJoystick() {
    Impl& d = *impl_;
    if (d.bellReader >= 0) close(d.bellReader);
    if (d.bed != nullptr && d.handler != nullptr)
        static_cast<void>(umockdev_testbed_detach_ioctl(d.bed, d.node.c_str(), nullptr));
    if (d.handler != nullptr) g_object_unref(d.handler);
    if (d.bed != nullptr) g_object_unref(d.bed);
}

bool ScriptedJoystick::Ready() const {
    // Without umockdev's preload the testbed exists but nothing of the process sees it.
    const char* preload = std::getenv("LD_PRELOAD");
    return impl_->bellReader >= 0 && preload != nullptr && std::strstr(preload, "umockdev");
}

std::string ScriptedJoystick::Node() const {
    return impl_->node;
}

unsigned long ScriptedJoystick::Reads() const {
    return impl_->reads;
}

void ScriptedJoystick::Report(int x, int y, unsigned buttons) {
    Impl& d = *impl_;
    timeval now{};
    gettimeofday(&now, nullptr);
    std::vector<input_event> events;
    {
        const std::lock_guard guard(d.lock);
        const std::array<int, 2> axes{x, y};
        for (int axis = 0; axis < 2; ++axis)
            if (axes[axis] != d.axes[axis])
                events.push_back({now, EV_ABS, static_cast<__u16>(ABS_X + axis), axes[axis]});
        for (int i = 0; i < kButtons; ++i)
            if (((buttons ^ d.buttons) & (1u << i)) != 0)
                events.push_back({now, EV_KEY, static_cast<__u16>(BTN_SOUTH + i),
                                  (buttons & (1u << i)) != 0 ? 1 : 0});
        d.axes = axes;
        d.buttons = buttons;
    }
    if (events.empty()) return;
    events.push_back({now, EV_SYN, SYN_REPORT, 0});
    d.Push(std::move(events));
}

void ScriptedJoystick::Unplug() {
    Impl& d = *impl_;
    {
        const std::lock_guard guard(d.lock);
        d.gone = true;
        const char ring = 1;
        static_cast<void>(write(d.bell, &ring, 1));  // readers wake and find ENODEV
    }
    umockdev_testbed_uevent(d.bed, d.sysPath.c_str(), "remove");
}

}  // namespace vantrel::test
