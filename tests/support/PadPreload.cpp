// Preloaded into the program by program-level tests (LD_PRELOAD): SDL's joystick start also
// plugs in an SDL virtual joystick, so the whole program runs as with a pad connected. With
// VANTREL_PAD_PUSHED set its stick is held to the right from the start; VANTREL_PAD_RIGHT "X Y"
// holds its right stick there from the start (a trigger at its end). It then follows the FIFO
// VANTREL_PAD_CONTROL names, if any: lines "X Y BUTTONS [RX RY]", the stick axes as SDL takes
// them, the buttons held as a bit mask (1: button 1) and the right stick.
#include <SDL.h>
#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
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
        const SDL_VirtualJoystickDesc pad =
            vantrel::test::PadDescription("Vantrel Preloaded Pad", 6);
        const int index = SDL_JoystickAttachVirtualEx(&pad);  // without it the program says so
        SDL_Joystick* stick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        if (stick != nullptr && std::getenv("VANTREL_PAD_PUSHED") != nullptr)
            static_cast<void>(SDL_JoystickSetVirtualAxis(stick, 0, 32767));
        if (const char* right = std::getenv("VANTREL_PAD_RIGHT"); stick != nullptr && right) {
            std::istringstream values(right);
            int rx = 0, ry = 0;
            values >> rx >> ry;
            static_cast<void>(SDL_JoystickSetVirtualAxis(stick, 2, static_cast<Sint16>(rx)));
            static_cast<void>(SDL_JoystickSetVirtualAxis(stick, 3, static_cast<Sint16>(ry)));
        }
        // SDL locks its joysticks for each change, so another thread may make them; this one
        // ends with the program.
        if (const char* fifo = std::getenv("VANTREL_PAD_CONTROL"); stick != nullptr && fifo)
            std::thread([stick, path = std::string(fifo)] {
                std::ifstream lines(path);
                for (std::string line; std::getline(lines, line);) {
                    std::istringstream values(line);
                    int axes[4]{};
                    unsigned held = 0;
                    if (!(values >> axes[0] >> axes[1] >> held)) continue;
                    values >> axes[2] >> axes[3];  // the right stick, when given
                    for (int a = 0; a < 4; ++a)
                        static_cast<void>(
                            SDL_JoystickSetVirtualAxis(stick, a, static_cast<Sint16>(axes[a])));
                    for (int b = 0; b < vantrel::test::VirtualPad::kButtons; ++b)
                        static_cast<void>(SDL_JoystickSetVirtualButton(
                            stick, b, static_cast<Uint8>(held >> b & 1U)));
                }
            }).detach();
    }
    return result;
}
