// A joystick for runs of the real program where none is plugged in (the package checks):
// preloaded into vantrel, it attaches an SDL virtual joystick when the program starts SDL's
// joystick subsystem.
#include <SDL.h>
#include <dlfcn.h>

extern "C" int SDL_InitSubSystem(Uint32 flags) {
    static const auto real = reinterpret_cast<int (*)(Uint32)>(dlsym(RTLD_NEXT, __func__));
    const int result = real(flags);
    static bool attached = false;
    if (result == 0 && (flags & SDL_INIT_JOYSTICK) != 0 && !attached) {
        attached = true;
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.naxes = 2;
        desc.nbuttons = 12;
        desc.name = "Vantrel Package Test Pad";
        SDL_JoystickAttachVirtualEx(&desc);
    }
    return result;
}
