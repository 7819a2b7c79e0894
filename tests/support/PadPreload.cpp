// Preloaded into the program by program-level tests (LD_PRELOAD): SDL's joystick start also
// plugs in an SDL virtual joystick, so the whole program runs as with a pad connected. With
// VANTREL_PAD_PUSHED set its stick is held to the right from the start. It then follows the FIFO
// VANTREL_PAD_CONTROL names, if any: lines "X Y BUTTONS", both stick axes as SDL takes them and
// the buttons held as a bit mask (1: button 1).
#include <SDL.h>
#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

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
        // SDL locks its joysticks for each change, so another thread may make them; this one
        // ends with the program.
        if (const char* fifo = std::getenv("VANTREL_PAD_CONTROL"); stick != nullptr && fifo)
            std::thread([stick, path = std::string(fifo)] {
                std::ifstream lines(path);
                int x = 0, y = 0;
                unsigned held = 0;
                while (lines >> x >> y >> held) {
                    static_cast<void>(SDL_JoystickSetVirtualAxis(stick, 0, static_cast<Sint16>(x)));
                    static_cast<void>(SDL_JoystickSetVirtualAxis(stick, 1, static_cast<Sint16>(y)));
                    for (int b = 0; b < vantrel::test::VirtualPad::kButtons; ++b)
                        static_cast<void>(SDL_JoystickSetVirtualButton(
                            stick, b, static_cast<Uint8>(held >> b & 1U)));
                }
            }).detach();
    }
    return result;
}
