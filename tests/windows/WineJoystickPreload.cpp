// A joystick for the wine run of scripts/test-windows. Preloaded into wine's processes, it catches
// the SDL lookups of wine's device bus (winebus inside winedevice.exe loads the host's libSDL2
// and resolves it with dlsym) and attaches an SDL virtual joystick there, which Windows programs
// then see through winmm. The test moves it by writing lines to the FIFO named by
// VANTREL_WINE_JOYSTICK:   axes <x> <y>   (SDL values, -32768..32767)   button <n> <0|1>
#include <SDL.h>
#include <dlfcn.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "integration/VirtualPad.h"

namespace {

using Dlsym = void* (*)(void*, const char*);
using SdlInit = int (*)(Uint32);

Dlsym RealDlsym() {
    static const Dlsym real = [] {
        void* found = dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.34");
        if (found == nullptr) found = dlvsym(RTLD_NEXT, "dlsym", "GLIBC_2.2.5");
        return reinterpret_cast<Dlsym>(found);
    }();
    return real;
}

// What the bus's SDL_Init needs to reach: an interposer has no other place to keep it.
struct BusSdl {
    void* library = nullptr;
    SdlInit init = nullptr;
};
BusSdl& Bus() {
    static BusSdl bus;
    return bus;
}

template <typename Function>
Function Find(const char* name) {
    return reinterpret_cast<Function>(RealDlsym()(Bus().library, name));
}

// Reads the test's commands for as long as the process lives; each writer's close ends one
// round, so the FIFO is opened again.
void Steer(SDL_Joystick* joystick, const char* fifo) {
    const auto setAxis = Find<int (*)(SDL_Joystick*, int, Sint16)>("SDL_JoystickSetVirtualAxis");
    const auto setButton = Find<int (*)(SDL_Joystick*, int, Uint8)>("SDL_JoystickSetVirtualButton");
    for (;;) {
        // The open waits for the test's next writer; a signal that wine's process receives
        // meanwhile interrupts it, which must not end the steering.
        FILE* commands = std::fopen(fifo, "r");
        if (commands == nullptr && errno == EINTR) continue;
        if (commands == nullptr) return;
        char line[128];
        while (std::fgets(line, sizeof line, commands) != nullptr) {
            int a = 0, b = 0;
            if (std::sscanf(line, "axes %d %d", &a, &b) == 2) {
                setAxis(joystick, 0, static_cast<Sint16>(a));
                setAxis(joystick, 1, static_cast<Sint16>(b));
            } else if (std::sscanf(line, "button %d %d", &a, &b) == 2) {
                setButton(joystick, a, b != 0 ? SDL_PRESSED : SDL_RELEASED);
            }
        }
        std::fclose(commands);
    }
}

int InitWithJoystick(Uint32 flags) {
    const int result = Bus().init(flags);
    static bool attached = false;
    const char* fifo = std::getenv("VANTREL_WINE_JOYSTICK");
    if (result != 0 || attached || fifo == nullptr) return result;
    attached = true;
    const SDL_VirtualJoystickDesc desc = vantrel::test::PadDescription("Vantrel Wine Pad");
    const int index =
        Find<int (*)(const SDL_VirtualJoystickDesc*)>("SDL_JoystickAttachVirtualEx")(&desc);
    SDL_Joystick* joystick =
        index < 0 ? nullptr : Find<SDL_Joystick* (*)(int)>("SDL_JoystickOpen")(index);
    if (joystick == nullptr) {
        std::fprintf(stderr, "wine joystick: no virtual joystick\n");
        return result;
    }
    std::thread(Steer, joystick, fifo).detach();
    return result;
}

}  // namespace

extern "C" void* dlsym(void* library, const char* name) noexcept {
    void* found = RealDlsym()(library, name);
    if (found != nullptr && std::strcmp(name, "SDL_Init") == 0) {
        Bus().library = library;
        Bus().init = reinterpret_cast<SdlInit>(found);
        return reinterpret_cast<void*>(&InitWithJoystick);
    }
    return found;
}
