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
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace vantrel::test {

namespace {

// A reader that never reads (a descriptor kept open while the program polls) keeps this many
// events; the kernel's buffer drops the oldest too.
constexpr std::size_t kQueueLimit = 1024;

void SetBit(std::vector<unsigned char>& bits, int bit) {
    if (static_cast<std::size_t>(bit / 8) < bits.size()) bits[bit / 8] |= 1u << (bit % 8);
}

bool BitSet(const std::vector<unsigned char>& bits, unsigned bit) {
    return bit / 8 < bits.size() && (bits[bit / 8] & (1u << (bit % 8))) != 0;
}

// SDL numbers a node's buttons from BTN_JOYSTICK upwards, then the codes below it.
std::vector<unsigned short> InSdlOrder(std::vector<unsigned short> keys) {
    std::stable_partition(keys.begin(), keys.end(),
                          [](unsigned short k) { return k >= BTN_JOYSTICK; });
    return keys;
}

}  // namespace

PadBed::PadBed() : bed_(umockdev_testbed_new()) {}

PadBed::~PadBed() {
    g_object_unref(bed_);
}

struct ScriptedJoystick::Impl {
    explicit Impl(const EvdevPad& pad)
        : pad(pad), buttonCodes(InSdlOrder(pad.keys)), axes(pad.axes.size(), 0) {
        CentreAxes();
    }

    void CentreAxes() {
        for (std::size_t i = 0; i < pad.axes.size(); ++i)
            axes[i] = pad.axes[i].rest.value_or(pad.axes[i].Middle());
    }

    const EvdevPad& pad;
    const std::vector<unsigned short> buttonCodes;  // SDL's button n is buttonCodes[n]
    std::string node;
    std::string sysPath;
    std::unique_ptr<PadBed> ownBed;
    UMockdevTestbed* bed = nullptr;
    UMockdevIoctlBase* handler = nullptr;
    // The device's end of the node. umockdev makes the node a pty that every descriptor of the
    // program shares, so it carries no events, only a byte per report that makes the node
    // readable; the events come through the read handler, a queue per descriptor. Being shared,
    // it can be readable only for all descriptors at once, where the kernel tells each its own:
    // it rings for the descriptors that are polled, taken to be those that set an event mask
    // (EVIOCSMASK, as a wake-up watcher does), or every reader when none did.
    int bell = -1;
    int bellReader = -1;  // the node's own side, to empty the bell once nobody has events left

    std::mutex lock;
    // One per descriptor. Descriptors that were opened only to look (SDL probes each node) and
    // closed never read; umockdev does not say when they go, so only readers count.
    struct Reader {
        std::deque<input_event> queue;
        bool reads = false;
        std::map<unsigned, std::vector<unsigned char>> masks;  // event type: codes let through

        bool Hears(const input_event& e) const {
            const auto mask = masks.find(e.type);
            return mask == masks.end() || BitSet(mask->second, e.code);
        }
    };
    std::map<UMockdevIoctlClient*, Reader> readers;
    std::vector<int> axes;  // the device's own units, as pad.axes
    unsigned buttons = 0;
    bool gone = false;
    std::atomic<unsigned long> reads{0};

    bool Polled(const Reader& reader) const {
        const bool anyMasked = std::any_of(readers.begin(), readers.end(),
                                           [](const auto& r) { return !r.second.masks.empty(); });
        return anyMasked ? !reader.masks.empty() : reader.reads;
    }

    // Called with the lock held.
    bool Owed() const {
        return std::any_of(readers.begin(), readers.end(), [this](const auto& r) {
            return Polled(r.second) && !r.second.queue.empty();
        });
    }

    // Empties the bell when no polled descriptor has anything left to read. Called with the
    // lock held.
    void SilenceBellIfRead() {
        if (!Owed() && !gone) tcflush(bellReader, TCIFLUSH);
    }

    // One packet, stamped now and ended with SYN_REPORT; none when `events` is empty. Each
    // descriptor gets what its mask lets through; a packet left with nothing but its SYN_REPORT
    // is dropped, as evdev drops it.
    void Push(std::vector<input_event> events) {
        if (events.empty()) return;
        events.push_back({{}, EV_SYN, SYN_REPORT, 0});
        timeval now{};
        gettimeofday(&now, nullptr);
        for (input_event& e : events) e.time = now;
        const std::lock_guard guard(lock);
        for (auto& [client, reader] : readers) {
            std::vector<input_event> heard;
            for (const input_event& e : events)
                if (reader.Hears(e)) heard.push_back(e);
            if (heard.size() < 2) continue;
            reader.queue.insert(reader.queue.end(), heard.begin(), heard.end());
            while (reader.queue.size() > kQueueLimit) reader.queue.pop_front();
        }
        if (Owed()) static_cast<void>(write(bell, "\1", 1));  // a full pty is readable anyway
    }

    // EVIOCSMASK: the codes of one event type this descriptor hears from now on.
    long SetMask(UMockdevIoctlClient* client) {
        UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
        UMockdevIoctlData* mask = umockdev_ioctl_data_resolve(arg, 0, sizeof(input_mask), nullptr);
        if (mask == nullptr) return -EFAULT;
        input_mask request{};
        std::memcpy(&request, mask->data, sizeof request);
        std::vector<unsigned char> codes(request.codes_size, 0);
        if (!codes.empty()) {
            UMockdevIoctlData* bits = umockdev_ioctl_data_resolve(
                mask, offsetof(input_mask, codes_ptr), codes.size(), nullptr);
            if (bits == nullptr) return -EFAULT;
            std::memcpy(codes.data(), bits->data, codes.size());
        }
        readers[client].masks[request.type] = std::move(codes);
        return 0;
    }

    // The answer to one evdev query, into `out`; the ioctl's result, or -errno.
    long Answer(unsigned long request, std::vector<unsigned char>& out) {
        const unsigned size = _IOC_SIZE(request);
        const unsigned nr = _IOC_NR(request);
        if (_IOC_TYPE(request) != 'E' || _IOC_DIR(request) != _IOC_READ) return -ENOTTY;
        if (gone) return -ENODEV;
        out.assign(size, 0);
        const auto fill = [&out](const void* from, std::size_t length) {  // a struct's answer
            std::memcpy(out.data(), from, length);
            return 0L;
        };
        static constexpr int kVersion = EV_VERSION;
        if (request == EVIOCGVERSION) return fill(&kVersion, sizeof kVersion);
        if (request == EVIOCGID) return fill(&pad.id, sizeof pad.id);
        if (nr == _IOC_NR(EVIOCGNAME(0))) {
            const std::size_t length = std::min<std::size_t>(size, std::strlen(pad.name) + 1);
            std::memcpy(out.data(), pad.name, length);
            return static_cast<long>(length);
        }
        if (nr == _IOC_NR(EVIOCGKEY(0))) {
            for (std::size_t i = 0; i < buttonCodes.size() && i < 32; ++i)
                if ((buttons & (1u << i)) != 0) SetBit(out, buttonCodes[i]);
            return size;
        }
        if (nr == _IOC_NR(EVIOCGPROP(0)) || nr == _IOC_NR(EVIOCGLED(0)) ||
            nr == _IOC_NR(EVIOCGSW(0)) || nr == _IOC_NR(EVIOCGSND(0)))
            return size;
        if (nr >= _IOC_NR(EVIOCGBIT(0, 0)) && nr < _IOC_NR(EVIOCGBIT(EV_MAX, 0))) {
            const unsigned type = nr - _IOC_NR(EVIOCGBIT(0, 0));
            if (type == 0)
                for (int t : {EV_SYN, EV_KEY, EV_ABS}) SetBit(out, t);
            if (type == EV_KEY)
                for (unsigned short code : pad.keys) SetBit(out, code);
            if (type == EV_ABS)
                for (const PadAxis& axis : pad.axes) SetBit(out, axis.code);
            return size;
        }
        if (nr >= _IOC_NR(EVIOCGABS(0)) && nr < _IOC_NR(EVIOCGABS(ABS_CNT)) &&
            size == sizeof(input_absinfo)) {
            const unsigned code = nr - _IOC_NR(EVIOCGABS(0));
            for (std::size_t i = 0; i < pad.axes.size(); ++i) {
                const PadAxis& axis = pad.axes[i];
                if (axis.code != code) continue;
                const input_absinfo info{axes[i],   axis.minimum, axis.maximum,
                                         axis.fuzz, axis.flat,    0};
                return fill(&info, sizeof info);
            }
            return -EINVAL;
        }
        return -ENOTTY;
    }

    // The node, its udev entry and the handlers, in `testbed`.
    void Attach(PadBed& testbed, int number) {
        bed = testbed.Testbed();
        const std::string event = "event" + std::to_string(number);
        node = "/dev/input/" + event;
        sysPath = "/sys/devices/virtual/input/input" + std::to_string(number + 20) + "/" + event;
        // What udev's input_id builtin says about a gamepad; SDL takes joysticks from udev by it.
        const std::string description =
            "P: " + sysPath.substr(4) + "\nN: input/" + event +
            "\nE: SUBSYSTEM=input\nE: DEVNAME=" + node +
            "\nE: MAJOR=13\nE: MINOR=" + std::to_string(64 + number) +
            "\nE: ID_INPUT=1\nE: ID_INPUT_JOYSTICK=1\nA: dev=13:" + std::to_string(64 + number) +
            "\n";
        if (!umockdev_testbed_add_from_string(bed, description.c_str(), nullptr)) return;
        handler = umockdev_ioctl_base_new();
        g_signal_connect(handler, "handle-ioctl", G_CALLBACK(OnIoctl), this);
        g_signal_connect(handler, "handle-read", G_CALLBACK(OnRead), this);
        g_signal_connect(handler, "client-connected", G_CALLBACK(OnConnected), this);
        g_signal_connect(handler, "client-vanished", G_CALLBACK(OnVanished), this);
        if (!umockdev_testbed_attach_ioctl(bed, node.c_str(), handler, nullptr)) return;
        bell = umockdev_testbed_get_dev_fd(bed, node.c_str());
        if (bell < 0) return;
        const char* peer = ptsname(bell);
        if (peer != nullptr) bellReader = open(peer, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    }

    static gboolean Fail(UMockdevIoctlClient* client, long error) {
        umockdev_ioctl_client_complete(client, -1, static_cast<gint>(error));
        return TRUE;
    }

    static gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
        auto& self = *static_cast<Impl*>(data);
        const std::lock_guard guard(self.lock);
        std::vector<unsigned char> out;
        const unsigned long request = umockdev_ioctl_client_get_request(client);
        const long result =
            request == EVIOCSMASK ? self.SetMask(client) : self.Answer(request, out);
        if (result < 0) return Fail(client, -result);
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
        if (self.gone) return Fail(client, ENODEV);
        Reader& reader = self.readers[client];
        reader.reads = true;
        std::deque<input_event>& queue = reader.queue;
        UMockdevIoctlData* buffer = umockdev_ioctl_client_get_arg(client);
        const std::size_t fits = static_cast<std::size_t>(buffer->data_len) / sizeof(input_event);
        const auto count = static_cast<long>(std::min(fits, queue.size()));
        std::vector<input_event> taken(queue.begin(), queue.begin() + count);
        queue.erase(queue.begin(), queue.begin() + count);
        self.SilenceBellIfRead();
        if (count == 0) return Fail(client, EAGAIN);
        const auto bytes = static_cast<gint>(taken.size() * sizeof(input_event));
        umockdev_ioctl_data_update(buffer, 0, reinterpret_cast<guint8*>(taken.data()), bytes);
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

ScriptedJoystick::ScriptedJoystick(int number, const EvdevPad& pad, PadBed* bed)
    : impl_(std::make_unique<Impl>(pad)) {
    if (bed == nullptr) bed = (impl_->ownBed = std::make_unique<PadBed>()).get();
    impl_->Attach(*bed, number);
}

ScriptedJoystick::~ScriptedJoystick() {
    Impl& d = *impl_;
    if (d.bellReader >= 0) close(d.bellReader);
    if (d.bed != nullptr && d.handler != nullptr)
        static_cast<void>(umockdev_testbed_detach_ioctl(d.bed, d.node.c_str(), nullptr));
    if (d.handler != nullptr) g_object_unref(d.handler);
}

bool ScriptedJoystick::Ready() const {
    // Without umockdev's preload the testbed exists but nothing of the process sees it.
    const char* preload = std::getenv("LD_PRELOAD");
    return impl_->bellReader >= 0 && preload != nullptr && std::strstr(preload, "umockdev");
}

std::string ScriptedJoystick::Node() const {
    return impl_->node;
}

const EvdevPad& ScriptedJoystick::Description() const {
    return impl_->pad;
}

unsigned long ScriptedJoystick::Reads() const {
    return impl_->reads;
}

bool ScriptedJoystick::Quiet() const {
    const std::lock_guard guard(impl_->lock);
    return !impl_->Owed();
}

void ScriptedJoystick::Report(int x, int y, unsigned buttons) {
    const auto raw = [this](std::size_t axis, int value) {
        const PadAxis& a = impl_->pad.axes[axis];
        const double span = double(a.maximum) - a.minimum;
        return a.minimum + static_cast<int>(std::lround((value + 32768.0) * span / 65535.0));
    };
    ReportRaw(raw(0, x), raw(1, y), buttons);
}

void ScriptedJoystick::ReportRaw(int x, int y, unsigned buttons) {
    Impl& d = *impl_;
    std::vector<input_event> events;
    {
        const std::lock_guard guard(d.lock);
        const std::array<int, 2> stick{x, y};
        for (std::size_t axis = 0; axis < 2; ++axis)
            if (stick[axis] != d.axes[axis])
                events.push_back({{}, EV_ABS, d.pad.axes[axis].code, stick[axis]});
        for (std::size_t i = 0; i < d.buttonCodes.size() && i < 32; ++i)
            if (((buttons ^ d.buttons) & (1u << i)) != 0)
                events.push_back(
                    {{}, EV_KEY, d.buttonCodes[i], (buttons & (1u << i)) != 0 ? 1 : 0});
        d.axes[0] = x;
        d.axes[1] = y;
        d.buttons = buttons;
    }
    d.Push(std::move(events));
}

void ScriptedJoystick::ReportAxis(unsigned short code, int value) {
    Impl& d = *impl_;
    {
        const std::lock_guard guard(d.lock);
        for (std::size_t i = 0; i < d.pad.axes.size(); ++i)
            if (d.pad.axes[i].code == code) d.axes[i] = value;
    }
    d.Push({{{}, EV_ABS, code, value}});
}

void ScriptedJoystick::Unplug() {
    Impl& d = *impl_;
    {
        const std::lock_guard guard(d.lock);
        d.gone = true;
        static_cast<void>(write(d.bell, "\1", 1));  // readers wake and find ENODEV
    }
    umockdev_testbed_uevent(d.bed, d.sysPath.c_str(), "remove");
}

void ScriptedJoystick::Plug() {
    Impl& d = *impl_;
    {
        const std::lock_guard guard(d.lock);
        d.gone = false;
        d.CentreAxes();
        d.buttons = 0;
        tcflush(d.bellReader, TCIFLUSH);  // the ring that told of the removal
    }
    umockdev_testbed_uevent(d.bed, d.sysPath.c_str(), "add");
}

}  // namespace vantrel::test
