// The program's resident memory while its options and about windows are opened and closed many
// times, with language changes between: what stays behind once the windows are closed.
#pragma once

namespace vantrel::bench {

void WindowRoundsFigures(int rounds);

}  // namespace vantrel::bench
