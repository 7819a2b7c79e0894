#include "core/engine/PadFollower.h"

#include <algorithm>

#include "core/engine/JoystickDiscovery.h"

namespace vantrel {

bool MayBeSamePad(const PadIdentity& followed, const PadIdentity& candidate) {
    if (followed.model != candidate.model) return false;
    return followed.serial.empty() || candidate.serial.empty() ||
           followed.serial == candidate.serial;
}

void PadFollower::Choose(int id) {
    chosen_ = id;
    bound_ = false;
    // Found at once: whoever shows the pad in use (the options dialog) sees the new one.
    port_.RefreshDevices();
    stamp_ = port_.DeviceListStamp();
    located_ = true;
    Locate();
}

bool PadFollower::Read(JoystickState& state) {
    bool read = false;
    if (device_ >= 0) {
        read = port_.ReadState(device_, state);
    } else {
        port_.RefreshDevices();  // nothing to read, but a pad may have come
    }
    const std::uint64_t stamp = port_.DeviceListStamp();
    if (located_ && stamp == stamp_) return read;
    stamp_ = stamp;
    located_ = true;
    const int before = device_;
    Locate();
    // The reading came from whichever device had the old id after the change: it counts only
    // when that is still the pad followed.
    if (device_ == before && device_ >= 0) return read;
    return device_ >= 0 && port_.ReadState(device_, state);
}

bool PadFollower::ListChanged() {
    port_.RefreshDevices();
    return !located_ || port_.DeviceListStamp() != stamp_;
}

void PadFollower::Locate() {
    constexpr std::size_t kIds = kMaxJoystickId + 1;
    present_.resize(kIds);
    answered_.assign(kIds, false);
    count_ = 0;
    for (std::size_t id = 0; id < kIds; ++id) {
        answered_[id] = port_.ReadIdentity(static_cast<int>(id), present_[id]);
        if (answered_[id]) ++count_;
    }
    const auto at = [this](int id) { return answered_[static_cast<std::size_t>(id)]; };
    const auto who = [this](int id) -> const PadIdentity& {
        return present_[static_cast<std::size_t>(id)];
    };

    if (!bound_) {
        const int target = chosen_ >= 0 && chosen_ < count_ ? chosen_ : 0;
        if (at(target)) return Take(target, who(target));
        device_ = -1;
        return;
    }
    // The same plugging, wherever the list has moved it.
    for (int id = 0; id < static_cast<int>(kIds); ++id)
        if (at(id) && pad_.plugging >= 0 && who(id).plugging == pad_.plugging)
            return Take(id, who(id));
    // Plugged in again: a pad that may be it and was not there when it went away, preferably at
    // the node it had.
    int best = -1;
    for (int id = 0; id < static_cast<int>(kIds); ++id) {
        if (!at(id) || !MayBeSamePad(pad_, who(id))) continue;
        if (std::find(besidePad_.begin(), besidePad_.end(), who(id).plugging) != besidePad_.end())
            continue;
        if (best < 0 || (who(id).path == pad_.path && who(best).path != pad_.path)) best = id;
    }
    if (best >= 0) return Take(best, who(best));
    device_ = -1;
}

void PadFollower::Take(int id, const PadIdentity& identity) {
    bound_ = true;
    ++takes_;
    pad_ = identity;  // the node and plugging it has now
    device_ = id;
    besidePad_.clear();
    for (std::size_t other = 0; other < present_.size(); ++other)
        if (answered_[other] && present_[other].plugging >= 0)
            besidePad_.push_back(present_[other].plugging);
}

}  // namespace vantrel
