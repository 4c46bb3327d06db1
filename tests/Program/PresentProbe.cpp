// Preloaded into the game by a whole-program test: before each frame is presented, the colours of its
// top-left corner and of its centre are appended to the file named by TORVI_PRESENT_LOG, one frame a line:
// "r g b r g b". The game itself is not changed; every present goes through SDL_GL_SwapWindow.
#include <SDL2/SDL.h>
#include <GL/gl.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

typedef void (*SwapFunc)(SDL_Window*);

void ReadPixel(int x, int y, unsigned char* rgb)
{
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    rgb[0] = rgba[0];
    rgb[1] = rgba[1];
    rgb[2] = rgba[2];
}

void LogFrame(SDL_Window* window)
{
    const char* name = std::getenv("TORVI_PRESENT_LOG");
    if (!name || !name[0])
        return;
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    if (width <= 0 || height <= 0)
        return;
    unsigned char corner[3];
    unsigned char centre[3];
    // Rows count from the bottom in the GL.
    ReadPixel(0, height - 1, corner);
    ReadPixel(width / 2, height / 2, centre);
    FILE* log = std::fopen(name, "a");
    if (!log)
        return;
    std::fprintf(log, "%d %d %d %d %d %d\n", corner[0], corner[1], corner[2], centre[0], centre[1], centre[2]);
    std::fclose(log);
}

} // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window)
{
    static SwapFunc real = reinterpret_cast<SwapFunc>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    LogFrame(window);
    if (real)
        real(window);
}
