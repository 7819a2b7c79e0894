// The joystick in use, followed by who it is: a joystick library numbers its devices afresh as
// pads come and go, and a pad that takes over an id is another pad.
#pragma once

#include <cstdint>
#include <vector>

#include "core/engine/JoystickPort.h"

namespace vantrel {

class PadFollower {
  public:
    explicit PadFollower(JoystickPort& port) : port_(port) {}

    // Follows the pad at device `id` from now on, or at 0 when `id` names none of the devices
    // counted (the id the tick has always read); with no pad there, the first that comes
    // there.
    void Choose(int id);

    // Reads the pad followed; false while it is away or cannot be read. Asks who the devices
    // are only after the device list changed, so a tick in steady state costs one reading.
    bool Read(JoystickState& state);

    // Whether the device list changed since the last Read, looking now (the port refreshes).
    bool ListChanged();

    // The id the pad followed has now, as of the last Read; -1 while it is away (or before the
    // first Read).
    int Device() const { return device_; }
    // The devices present, as of the last change of the list seen by Read.
    int Count() const { return count_; }
    // How often a pad was taken or found again after the list changed: while it stays, the
    // pad in use and its id have not changed.
    std::uint32_t Takes() const { return takes_; }

  private:
    // Finds the pad followed in the device list as it is now.
    void Locate();
    void Take(int id, const PadIdentity& identity);

    JoystickPort& port_;
    int chosen_ = 0;
    bool bound_ = false;  // a pad was taken and is followed by its identity
    PadIdentity pad_;
    int device_ = -1;
    int count_ = 0;
    std::uint32_t takes_ = 0;
    bool located_ = false;
    std::uint64_t stamp_ = 0;
    // The pluggings seen the last time the pad was found, itself among them: none of the others
    // can be the pad coming back after it went away.
    std::vector<std::int64_t> besidePad_;
    // Who is at each id, as of the last Locate (kept to spare allocations).
    std::vector<PadIdentity> present_;
    std::vector<bool> answered_;
};

// Whether `candidate` may be `followed` plugged in again: the same model, and the same serial
// where both report one.
bool MayBeSamePad(const PadIdentity& followed, const PadIdentity& candidate);

}  // namespace vantrel
