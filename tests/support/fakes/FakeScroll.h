// A scroll port for tests: the turns sent, in order, and the scrolls ended.
#pragma once

#include <cstdint>
#include <vector>

#include "core/engine/ScrollPort.h"

namespace vantrel::test {

class FakeScroll : public ScrollPort {
  public:
    struct Turn {
        std::int32_t horizontal = 0, vertical = 0;
        bool operator==(const Turn&) const = default;
    };
    std::vector<Turn> turns;
    int ends = 0;

    bool ScrollBy(std::int32_t horizontal, std::int32_t vertical) override {
        turns.push_back({horizontal, vertical});
        return true;
    }
    void EndScroll() override { ++ends; }

    Turn Total() const {  // the 120ths sent so far on each wheel
        Turn total;
        for (const Turn& t : turns)
            total = {total.horizontal + t.horizontal, total.vertical + t.vertical};
        return total;
    }
};

}  // namespace vantrel::test
