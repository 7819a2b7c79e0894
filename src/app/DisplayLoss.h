// The end of the display: Qt's window-system plugins end the process with status 1 as soon as
// their connection to the X server or the compositor breaks, which is how a session's end looks
// to a program nobody asked to quit. This catches that moment and ends the program its own way.
#pragma once

#include <functional>

namespace vantrel {

class DisplayLossWatch {
  public:
    // `save` runs once, on the event loop's thread, when the display is gone: it must not need
    // the display, and says whether the settings were saved. The program then ends with status
    // 0. One watch at a time.
    explicit DisplayLossWatch(std::function<bool()> save);
    ~DisplayLossWatch();
    DisplayLossWatch(const DisplayLossWatch&) = delete;
    DisplayLossWatch& operator=(const DisplayLossWatch&) = delete;

  private:
    std::function<bool()> save_;
};

}  // namespace vantrel
