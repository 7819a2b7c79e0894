// A pointer port that passes every call on to another one and counts them, so the benchmark
// knows how many X round trips a tick made: with the X11 backend each position query is one
// XQueryPointer (a request with a reply, one round trip) and a placement is a one-way XTest
// request.
#pragma once

#include <cstdint>

#include "engine/PointerPort.h"

namespace vantrel::bench {

class CountingPointer : public PointerPort {
  public:
    explicit CountingPointer(PointerPort& inner) : inner_(inner) {}

    bool QueryPosition(ScreenPoint& point) override {
        ++queries;
        return inner_.QueryPosition(point);
    }
    bool PlaceAt(std::int32_t x, std::int32_t y) override {
        ++placements;
        return inner_.PlaceAt(x, y);
    }

    std::uint64_t queries = 0;
    std::uint64_t placements = 0;

  private:
    PointerPort& inner_;
};

}  // namespace vantrel::bench
