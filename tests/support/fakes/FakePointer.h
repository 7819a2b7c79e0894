// A pointer port for tests: a position confined to a screen rectangle, failure switches and a
// log of the calls made.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/engine/PointerPort.h"

namespace vantrel::test {

class FakePointer : public PointerPort {
  public:
    struct Call {
        enum Kind { Query, Place } kind;
        std::int32_t x = 0;  // for Place: the requested position
        std::int32_t y = 0;
        bool operator==(const Call&) const = default;
    };

    // The screen the window system confines the pointer to, edges inclusive.
    std::int32_t minX = 0, minY = 0, maxX = 1279, maxY = 1023;
    ScreenPoint position{640, 512};
    bool failQueries = false;
    bool failPlacements = false;
    bool logCalls = true;  // the benchmark turns the log off to keep ticks allocation-free
    std::vector<Call> calls;
    long queries = 0;
    long placements = 0;

    bool QueryPosition(ScreenPoint& point) override {
        ++queries;
        if (logCalls) calls.push_back({Call::Query});
        if (failQueries) return false;
        point = position;
        return true;
    }

    bool PlaceAt(std::int32_t x, std::int32_t y) override {
        ++placements;
        if (logCalls) calls.push_back({Call::Place, x, y});
        if (failPlacements) return false;
        position.x = std::clamp(x, minX, maxX);
        position.y = std::clamp(y, minY, maxY);
        return true;
    }

    // Where the pointer was asked to go, in order.
    std::vector<ScreenPoint> Placements() const {
        std::vector<ScreenPoint> out;
        for (const Call& call : calls)
            if (call.kind == Call::Place) out.push_back({call.x, call.y});
        return out;
    }
};

}  // namespace vantrel::test
