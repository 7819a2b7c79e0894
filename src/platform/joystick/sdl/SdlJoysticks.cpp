#include "platform/joystick/sdl/SdlJoysticks.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/joystick/sdl/EvdevSecondStick.h"

namespace vantrel {

namespace {

constexpr Uint32 kSubsystems = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;

std::uint32_t AxisValue(SDL_Joystick* joystick, int axis, int axes) {
    // A missing axis reads as centred.
    const int value = axis < axes ? SDL_JoystickGetAxis(joystick, axis) : 0;
    return static_cast<std::uint32_t>(value + 32768);
}

// An axis counts as resting at its centre within a fifth of its half-range, as far as the scroll
// dead zone reaches: a trigger or a throttle rests at an end.
bool Centred(Sint16 value) {
    return std::abs(int{value}) <= 32768 / 5;
}

// The joystick buttons (from 1) that `pad`'s mapping puts at `wanted`; zeros when one of them
// is bound to an axis or a hat, or to nothing.
template <std::size_t N>
std::array<std::int16_t, N> BoundButtons(SDL_GameController* pad,
                                         const std::array<SDL_GameControllerButton, N>& wanted) {
    std::array<std::int16_t, N> buttons{};
    for (std::size_t i = 0; i < N; ++i) {
        const SDL_GameControllerButtonBind bind =
            SDL_GameControllerGetBindForButton(pad, wanted[i]);
        if (bind.bindType != SDL_CONTROLLER_BINDTYPE_BUTTON) return {};
        buttons[i] = static_cast<std::int16_t>(bind.value.button + 1);
    }
    return buttons;
}

// The buttons SDL's game-controller mapping for device `id` puts at A, B and X, and at Back and
// Start; left at zero without a mapping.
void TakeMapping(int id, JoystickInfo& caps) {
    caps.mappedButtons = {};
    caps.backStartButtons = {};
    if (SDL_IsGameController(id) != SDL_TRUE) return;
    // Opens the joystick once more (SDL counts the openings) to read the binding.
    SDL_GameController* pad = SDL_GameControllerOpen(id);
    if (pad == nullptr) return;
    caps.mappedButtons = BoundButtons(
        pad, std::array{SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X});
    caps.backStartButtons =
        BoundButtons(pad, std::array{SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_START});
    SDL_GameControllerClose(pad);
}

}  // namespace

SdlJoysticks::SdlJoysticks() {
    // The program handles SIGINT / SIGTERM itself, and the pointer must follow the stick while
    // other programs have the focus.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ready_ = SDL_InitSubSystem(kSubsystems) == 0;
    if (ready_) {
        // Nobody reads SDL's event queue: keep joystick events out of it instead of letting it
        // fill up. States are read directly after SDL_JoystickUpdate().
        SDL_JoystickEventState(SDL_IGNORE);
        SDL_GameControllerEventState(SDL_IGNORE);
    }
}

SdlJoysticks::~SdlJoysticks() {
    for (Slot& slot : slots_) CloseSlot(slot);
    if (ready_) SDL_QuitSubSystem(kSubsystems);
}

void SdlJoysticks::CloseSlot(Slot& slot) {
    if (slot.pad != nullptr) SDL_GameControllerClose(slot.pad);
    if (slot.joystick != nullptr) SDL_JoystickClose(slot.joystick);
    slot = Slot{.refusedInstance = slot.refusedInstance};
}

SdlJoysticks::Slot* SdlJoysticks::DeviceAt(int id) {
    Slot& slot = slots_[static_cast<std::size_t>(id)];
    const SDL_JoystickID instance =
        id < SDL_NumJoysticks() ? SDL_JoystickGetDeviceInstanceID(id) : -1;
    if (slot.joystick != nullptr) {
        // Still the device at this index? Otherwise it was unplugged or the list has shifted.
        if (instance >= 0 && SDL_JoystickGetAttached(slot.joystick) &&
            SDL_JoystickInstanceID(slot.joystick) == instance)
            return &slot;
        CloseSlot(slot);
    }
    if (instance < 0 || instance == slot.refusedInstance) return nullptr;
    slot.joystick = SDL_JoystickOpen(id);
    slot.refusedInstance = slot.joystick == nullptr ? instance : -1;
    if (slot.joystick == nullptr) return nullptr;
    ChooseScrollStick(id, slot);
    return &slot;
}

// Where SDL has a game-controller mapping, the second stick is the mapping's right stick. Else
// it is the pair of evdev axes the usual Linux drivers give it (EvdevSecondStick). Either way
// only axes resting near their centres now, as the joystick is opened, are taken: a trigger or a
// throttle would scroll on its own.
void SdlJoysticks::ChooseScrollStick(int id, Slot& slot) {
    SDL_JoystickUpdate();  // SDL reads an evdev joystick's axes at the first update after opening
    const char* path = SDL_JoystickPathForIndex(id);
    const AbsoluteAxes absolute = AbsoluteAxesOfNode(path != nullptr ? path : "");
    if (SDL_IsGameController(id) == SDL_TRUE) {
        SDL_GameController* pad = SDL_GameControllerOpen(id);
        if (pad == nullptr) return;
        const SDL_GameControllerButtonBind x =
            SDL_GameControllerGetBindForAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX);
        const SDL_GameControllerButtonBind y =
            SDL_GameControllerGetBindForAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY);
        if (x.bindType == SDL_CONTROLLER_BINDTYPE_AXIS &&
            y.bindType == SDL_CONTROLLER_BINDTYPE_AXIS &&
            Centred(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX)) &&
            Centred(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY))) {
            slot.pad = pad;
            slot.scrollCodes = {CodeOfSdlAxis(absolute, x.value.axis),
                                CodeOfSdlAxis(absolute, y.value.axis)};
            return;
        }
        SDL_GameControllerClose(pad);
        return;
    }
    for (const StickAxes& pair : SecondStickCandidates(absolute)) {
        if (Centred(SDL_JoystickGetAxis(slot.joystick, pair.sdlAxes[0])) &&
            Centred(SDL_JoystickGetAxis(slot.joystick, pair.sdlAxes[1]))) {
            slot.scrollAxes = pair.sdlAxes;
            slot.scrollCodes = pair.codes;
            return;
        }
    }
}

bool SdlJoysticks::ReadInfo(int id, JoystickInfo& caps) {
    if (!ready_ || id < 0) return false;
    SDL_JoystickUpdate();  // notices devices plugged in or out since the last call
    SDL_Joystick* joystick = nullptr;
    bool temporary = false;
    bool scrollStick = false;  // ids beyond the slots are never read, so never scroll
    if (id < kSlots) {
        Slot* slot = DeviceAt(id);
        joystick = slot != nullptr ? slot->joystick : nullptr;
        scrollStick = slot != nullptr && slot->HasScrollStick();
    } else if (id < SDL_NumJoysticks()) {
        joystick = SDL_JoystickOpen(id);
        temporary = true;
    }
    if (joystick == nullptr) return false;

    const char* name = SDL_JoystickName(joystick);
    caps.name = name != nullptr ? name : "";
    caps.buttonCount = static_cast<std::uint32_t>(std::max(0, SDL_JoystickNumButtons(joystick)));
    TakeMapping(id, caps);
    caps.hasScrollStick = scrollStick;
    if (temporary) SDL_JoystickClose(joystick);
    return true;
}

std::optional<std::string> SdlJoysticks::DeviceNode(int id) const {
    // No SDL_JoystickUpdate here: the device list stays as the last tick saw it.
    if (!ready_ || id < 0 || id >= SDL_NumJoysticks()) return std::nullopt;
    const char* path = SDL_JoystickPathForIndex(id);
    return std::string(path != nullptr ? path : "");
}

std::array<int, 2> SdlJoysticks::ScrollAxisCodes(int id) const {
    if (id < 0 || id >= kSlots) return {-1, -1};
    return slots_[static_cast<std::size_t>(id)].scrollCodes;
}

bool SdlJoysticks::ReadIdentity(int id, PadIdentity& identity) {
    // No SDL_JoystickUpdate here: the caller asks about every id of the list as it is.
    if (!ready_ || id < 0 || id >= SDL_NumJoysticks()) return false;
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(id), guid, sizeof guid);
    identity.model = guid;
    const char* path = SDL_JoystickPathForIndex(id);
    identity.path = path != nullptr ? path : "";
    identity.plugging = SDL_JoystickGetDeviceInstanceID(id);
    // Only an opened device tells its serial; devices below kSlots are kept open anyway.
    const Slot* slot = id < kSlots ? DeviceAt(id) : nullptr;
    SDL_Joystick* joystick = slot != nullptr ? slot->joystick : nullptr;
    const char* serial = joystick != nullptr ? SDL_JoystickGetSerial(joystick) : nullptr;
    identity.serial = serial != nullptr ? serial : "";
    return true;
}

void SdlJoysticks::RefreshDevices() {
    if (ready_) SDL_JoystickUpdate();
}

std::uint64_t SdlJoysticks::DeviceListStamp() {
    if (!ready_) return 0;
    const int count = SDL_NumJoysticks();
    SDL_JoystickID highest = -1;
    for (int id = 0; id < count; ++id)
        highest = std::max(highest, SDL_JoystickGetDeviceInstanceID(id));
    return (std::uint64_t{static_cast<std::uint32_t>(count)} << 32) |
           static_cast<std::uint32_t>(highest + 1);
}

bool SdlJoysticks::ReadState(int id, JoystickState& state) {
    if (!ready_ || id < 0 || id >= kSlots) return false;
    SDL_JoystickUpdate();
    const Slot* slot = DeviceAt(id);
    if (slot == nullptr) return false;
    SDL_Joystick* joystick = slot->joystick;

    const int axes = SDL_JoystickNumAxes(joystick);
    state.x = AxisValue(joystick, 0, axes);
    state.y = AxisValue(joystick, 1, axes);
    if (slot->pad != nullptr) {
        state.scrollX = static_cast<std::uint32_t>(
            SDL_GameControllerGetAxis(slot->pad, SDL_CONTROLLER_AXIS_RIGHTX) + 32768);
        state.scrollY = static_cast<std::uint32_t>(
            SDL_GameControllerGetAxis(slot->pad, SDL_CONTROLLER_AXIS_RIGHTY) + 32768);
    } else if (slot->scrollAxes[0] >= 0) {
        state.scrollX = AxisValue(joystick, slot->scrollAxes[0], axes);
        state.scrollY = AxisValue(joystick, slot->scrollAxes[1], axes);
    } else {
        state.scrollX = state.scrollY = JoystickState{}.scrollX;
    }
    const int buttons = std::min(SDL_JoystickNumButtons(joystick), 32);
    std::uint32_t mask = 0;
    for (int i = 0; i < buttons; ++i)
        if (SDL_JoystickGetButton(joystick, i) != 0) mask |= std::uint32_t{1} << i;
    state.buttons = mask;
    return true;
}

}  // namespace vantrel
