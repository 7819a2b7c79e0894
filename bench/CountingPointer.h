// A pointer port that passes every call on to another one and counts them, so the benchmark
// knows which reads a tick made: with the X11 backend each position query is one XQueryPointer
// waited for, a display query collects a reply asked for one tick earlier and asks again, and
// a placement is a one-way XTest request. X11Pointer counts the round trips themselves.
#pragma once

#include <cstdint>

#include "core/engine/PointerPort.h"

namespace vantrel::bench {

class CountingPointer : public PointerPort {
  public:
    explicit CountingPointer(PointerPort& inner) : inner_(inner) {}

    bool QueryPosition(ScreenPoint& point) override {
        ++queries;
        return inner_.QueryPosition(point);
    }
    bool QueryPositionForDisplay(ScreenPoint& point) override {
        ++displayQueries;
        return freshForDisplay ? inner_.QueryPosition(point)
                               : inner_.QueryPositionForDisplay(point);
    }
    bool PlaceAt(std::int32_t x, std::int32_t y) override {
        ++placements;
        return inner_.PlaceAt(x, y);
    }
    bool ShiftBy(std::int32_t dx, std::int32_t dy) override {
        if (readAndPlace) return false;
        const bool shifted = inner_.ShiftBy(dx, dy);
        if (shifted && (dx != 0 || dy != 0)) ++placements;
        return shifted;
    }

    std::uint64_t queries = 0;
    std::uint64_t displayQueries = 0;
    // Answers display queries with fresh ones, as the program did before it pipelined them:
    // the A side of an A/B comparison in one process.
    bool freshForDisplay = false;
    // Refuses relative motion, so every moving tick reads and places the pointer as the program
    // did before it sent relative motions: the A side of that comparison in one process.
    bool readAndPlace = false;
    // Placements and relative motions: the moves sent to the window system.
    std::uint64_t placements = 0;

  private:
    PointerPort& inner_;
};

}  // namespace vantrel::bench
