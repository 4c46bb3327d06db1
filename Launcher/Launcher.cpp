#include "Launcher/Launcher.h"

#include <dlfcn.h>
#include <spawn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "Launcher/LauncherDialog.h"

extern char** environ;

namespace {

void* graphics_library = nullptr;

// The folder of the running program, from the kernel, so the launcher's working folder does not matter.
bool ProgramFolder(char* out, size_t size)
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return false;
    path[length] = 0;
    char* slash = std::strrchr(path, '/');
    if (!slash)
        return false;
    *slash = 0;
    return std::snprintf(out, size, "%s", path) < static_cast<int>(size);
}

} // namespace

bool LauncherLoadD3D9()
{
    if (graphics_library)
        return true;
    graphics_library = dlopen(LAUNCHER_GRAPHICS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    return graphics_library != nullptr;
}

bool LauncherCheckDirectX9()
{
    if (!LauncherLoadD3D9()) {
        const char* reason = dlerror();
        std::fprintf(stderr, "Cannot load %s: %s\n", LAUNCHER_GRAPHICS_LIBRARY, reason ? reason : "unknown");
        return false;
    }
    dlclose(graphics_library);
    graphics_library = nullptr;
    return true;
}

bool LauncherStartGame()
{
    char folder[PATH_MAX];
    char program[PATH_MAX + 32];
    if (!ProgramFolder(folder, sizeof(folder)) ||
        std::snprintf(program, sizeof(program), "%s/%s", folder, LAUNCHER_GAME_PROGRAM) >=
            static_cast<int>(sizeof(program))) {
        std::fprintf(stderr, "Cannot find the launcher's own folder\n");
        return false;
    }
    char* arguments[] = {program, nullptr};
    pid_t child = 0;
    int error = posix_spawn(&child, program, nullptr, nullptr, arguments, environ);
    if (error != 0) {
        std::fprintf(stderr, "Cannot start %s: %s\n", program, std::strerror(error));
        return false;
    }
    return true;
}

int WinMain()
{
    bool started = LauncherCheckDirectX9() ? LauncherStartGame() : LauncherShowDialog();
    return started ? 0 : 1;
}

int main()
{
    return WinMain();
}

extern "C" {

// Allocations the system's graphics and windowing libraries keep for the life of the process (sanitizer
// builds only).
const char* __lsan_default_suppressions()
{
    return "leak:libGLX\n"
           "leak:libGL.so\n"
           "leak:libGLdispatch\n"
           "leak:libEGL\n"
           "leak:libgallium\n"
           "leak:libLLVM\n"
           "leak:libX11\n"
           "leak:libxcb\n"
           "leak:libfontconfig\n"
           "leak:libpango\n"
           "leak:libharfbuzz\n"
           "leak:libglib\n"
           "leak:libgobject\n"
           "leak:libgio\n"
           "leak:libgtk\n"
           "leak:libgdk\n"
           "leak:libatk\n"
           "leak:libdbus\n";
}
}
