// Preloaded into the program by program-level tests (LD_PRELOAD): SDL's joystick start also
// plugs in an SDL virtual joystick, so the whole program runs as with a pad connected. With
// VANTREL_PAD_PUSHED set its stick is held to the right from the start.
#include <SDL.h>
#include <dlfcn.h>

#include <cstdlib>

#include "integration/VirtualPad.h"

extern "C" int SDL_InitSubSystem(Uint32 flags) {
    static const auto real =
        reinterpret_cast<int (*)(Uint32)>(dlsym(RTLD_NEXT, "SDL_InitSubSystem"));
    const int result = real(flags);
    static bool attached = false;
    if (result == 0 && !attached && (flags & SDL_INIT_JOYSTICK) != 0) {
        attached = true;
        const SDL_VirtualJoystickDesc pad = vantrel::test::PadDescription("Vantrel Preloaded Pad");
        const int index = SDL_JoystickAttachVirtualEx(&pad);  // without it the program says so
        SDL_Joystick* stick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        if (stick != nullptr && std::getenv("VANTREL_PAD_PUSHED") != nullptr)
            static_cast<void>(SDL_JoystickSetVirtualAxis(stick, 0, 32767));
    }
    return result;
}
