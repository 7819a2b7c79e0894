// The poll tick of the core engine over the fake ports: nanoseconds per tick.
#pragma once

namespace vantrel::bench {

void CoreFigures();

}  // namespace vantrel::bench
