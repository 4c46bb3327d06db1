// Preloaded into the game by a benchmark: counts the frames it presents. Every SDL_GL_SwapWindow goes on to
// SDL and adds one to a 64-bit counter kept in the file TORVI_PRESENT_COUNTER names, which the benchmark
// reads from outside while the game runs.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

typedef void (*SwapWindow)(void* window);

static uint64_t* MappedCounter(void)
{
    static uint64_t* counter;
    static int tried;
    if (tried)
        return counter;
    tried = 1;
    const char* path = getenv("TORVI_PRESENT_COUNTER");
    int fd = path ? open(path, O_RDWR | O_CREAT, 0644) : -1;
    if (fd < 0)
        return NULL;
    if (ftruncate(fd, sizeof(uint64_t)) == 0) {
        void* map = mmap(NULL, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (map != MAP_FAILED)
            counter = map;
    }
    close(fd);
    return counter;
}

void SDL_GL_SwapWindow(void* window)
{
    static SwapWindow real;
    if (!real)
        real = (SwapWindow)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    uint64_t* counter = MappedCounter();
    if (counter)
        __atomic_add_fetch(counter, 1, __ATOMIC_RELAXED);
    if (real)
        real(window);
}
