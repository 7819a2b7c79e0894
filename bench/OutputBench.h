// The cost of one moving tick with each pointer output side by side: XTest (absolute), the
// wlroots virtual pointer, uinput and the RemoteDesktop portal (relative). Each part runs where
// its output exists.
#pragma once

namespace vantrel::bench {

void OutputFigures();

}  // namespace vantrel::bench
