#include "platform/joystick/sdl/EvdevSecondStick.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

static_assert(ABS_MAX < 64, "AbsoluteAxes holds every absolute axis code");

namespace vantrel {

AbsoluteAxes AbsoluteAxesOfNode(const std::string& path) {
    if (path.rfind("/dev/input/event", 0) != 0) return {};
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    unsigned char bits[ABS_CNT / 8]{};
    const bool read = ioctl(fd, EVIOCGBIT(EV_ABS, sizeof bits), bits) >= 0;
    close(fd);
    AbsoluteAxes axes;
    if (!read) return axes;
    for (int code = 0; code < ABS_CNT; ++code)
        if ((bits[code / 8] & (1u << (code % 8))) != 0) axes.set(static_cast<std::size_t>(code));
    return axes;
}

int SdlAxisOfCode(const AbsoluteAxes& axes, int code) {
    if (code < 0 || code >= ABS_HAT0X || !axes.test(static_cast<std::size_t>(code))) return -1;
    int below = 0;
    for (int c = 0; c < code; ++c) below += axes.test(static_cast<std::size_t>(c)) ? 1 : 0;
    return below;
}

int CodeOfSdlAxis(const AbsoluteAxes& axes, int axis) {
    for (int code = 0; code < ABS_HAT0X; ++code)
        if (SdlAxisOfCode(axes, code) == axis) return code;
    return -1;
}

std::vector<StickAxes> SecondStickCandidates(const AbsoluteAxes& axes) {
    std::vector<StickAxes> pairs;
    for (const auto [x, y] : {std::array{ABS_RX, ABS_RY}, std::array{ABS_Z, ABS_RZ}}) {
        const int sdlX = SdlAxisOfCode(axes, x);
        const int sdlY = SdlAxisOfCode(axes, y);
        if (sdlX >= 0 && sdlY >= 0) pairs.push_back({{x, y}, {sdlX, sdlY}});
    }
    return pairs;
}

}  // namespace vantrel
