// Sends what the wlroots output holds back while the compositor reads nothing: the engine may
// fall asleep meanwhile, so a timer sends it once the compositor reads again.
#pragma once

#include <QTimer>
#include <functional>

#include "platform/pointer/wlroots/WaylandVirtualPointer.h"

namespace vantrel {

class WaylandResend {
  public:
    // `afterEach` runs after every try (the output may have been lost by it). Both must outlive
    // this object.
    WaylandResend(WaylandVirtualPointer& output, std::function<void()> afterEach);

  private:
    QTimer timer_;
};

}  // namespace vantrel
