// A mouse-button port for tests: the events sent, in order.
#pragma once

#include <utility>
#include <vector>

#include "core/engine/MouseButtonPort.h"

namespace vantrel::test {

class FakeMouseButtons : public MouseButtonPort {
  public:
    bool record = true;  // the benchmark turns the log off to keep ticks allocation-free
    std::vector<MouseButtonEvent> events;
    long sent = 0;

    void Send(MouseButtonEvent event) override {
        ++sent;
        if (record) events.push_back(event);
    }
    // Returns the events sent so far and forgets them.
    std::vector<MouseButtonEvent> Take() { return std::exchange(events, {}); }
};

}  // namespace vantrel::test
