// The GL driver is loaded and unloaded at run time by SDL and EGL. Once unloaded, the leak
// checker can no longer name the driver's own allocations, so they cannot be suppressed;
// pinning the driver libraries keeps their names for the suppressions in TestMain.cpp.
// They are pinned when a test first makes a window (the link wraps SDL_CreateWindow), not at
// start: loading the driver costs most of a test process's start, and most tests draw nothing.
#include <SDL2/SDL.h>
#include <dlfcn.h>

namespace {

void KeepGraphicsLibrariesLoaded()
{
    static bool kept = false;
    if (kept)
        return;
    kept = true;
    const char* const libraries[] = {
        "libEGL.so.1",
        "libEGL_mesa.so.0",
        "libGLX_mesa.so.0",
        "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
    };
    for (const char* library : libraries)
        dlopen(library, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
}

}

extern "C" {

SDL_Window* __real_SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags);

SDL_Window* __wrap_SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags)
{
    KeepGraphicsLibrariesLoaded();
    return __real_SDL_CreateWindow(title, x, y, w, h, flags);
}

}
