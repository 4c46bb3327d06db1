// The GL driver is loaded and unloaded at run time by SDL and EGL. Once unloaded, the leak
// checker can no longer name the driver's own allocations, so they cannot be suppressed;
// pinning the driver libraries keeps their names for the suppressions in TestMain.cpp.
#include <dlfcn.h>

namespace {

struct KeepGraphicsLibrariesLoaded {
    KeepGraphicsLibrariesLoaded()
    {
        const char* const libraries[] = {
            "libEGL.so.1",
            "libEGL_mesa.so.0",
            "libGLX_mesa.so.0",
            "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
        };
        for (const char* library : libraries)
            dlopen(library, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    }
};

const KeepGraphicsLibrariesLoaded keep_graphics_libraries_loaded;

}
