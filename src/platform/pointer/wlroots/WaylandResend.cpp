#include "platform/pointer/wlroots/WaylandResend.h"

#include <utility>

namespace vantrel {

WaylandResend::WaylandResend(WaylandVirtualPointer& output, std::function<void()> afterEach) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this, &output, afterEach = std::move(afterEach)] {
        const bool sent = output.SendWaiting();
        static_cast<void>(sent);  // Lost() tells, and afterEach acts on it
        afterEach();
        if (!output.Waiting()) timer_.stop();
    });
    output.SetWaitingHandler([this] {
        if (!timer_.isActive()) timer_.start();
    });
}

}  // namespace vantrel
