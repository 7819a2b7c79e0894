// A pointer output for tests that can only move by a distance: the moves sent, in order.
#pragma once

#include <cstdint>
#include <vector>

#include "core/engine/PointerPort.h"

namespace vantrel::test {

class FakeRelativePointer : public RelativePointerPort {
  public:
    struct Move {
        std::int32_t dx = 0;
        std::int32_t dy = 0;
        bool operator==(const Move&) const = default;
    };
    std::vector<Move> moves;

    bool MoveBy(std::int32_t dx, std::int32_t dy) override {
        moves.push_back({dx, dy});
        return true;
    }
};

}  // namespace vantrel::test
