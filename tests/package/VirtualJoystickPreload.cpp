// A joystick for runs of the real program where none is plugged in (the package checks).
// Preloaded into vantrel, it attaches an SDL virtual joystick (2 axes, 12 buttons) as soon as
// the program starts SDL's joystick subsystem, so the program finds one and runs on.
#include <SDL.h>
#include <dlfcn.h>

namespace {

using InitSubSystem = int (*)(Uint32);

}  // namespace

extern "C" int SDL_InitSubSystem(Uint32 flags) {
    static const auto real = reinterpret_cast<InitSubSystem>(dlsym(RTLD_NEXT, "SDL_InitSubSystem"));
    const int result = real(flags);
    static bool attached = false;
    if (result == 0 && (flags & SDL_INIT_JOYSTICK) != 0 && !attached) {
        attached = true;
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = 2;
        desc.nbuttons = 12;
        desc.name = "Vantrel Package Test Pad";
        SDL_JoystickAttachVirtualEx(&desc);
    }
    return result;
}
