// Process entry: joins the arguments into one command line, as the engine's start-up expects it.

#include <malloc.h>

#include <cstring>

#include "Engine/Core/EngMainEntry.h"

int main(int argc, char** argv)
{
    // Pictures and sounds pass through buffers of megabytes while they load. glibc would raise its mmap
    // threshold past them after the first is freed and keep the later ones in the heap, whose freed pages stay
    // resident; above a fixed threshold each goes back to the system as it is freed.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    static char command_line[4096];
    std::size_t used = 0;
    for (int i = 1; i < argc; ++i) {
        std::size_t length = std::strlen(argv[i]);
        std::size_t needed = length + (i > 1 ? 1 : 0);
        if (used + needed >= sizeof(command_line))
            break;
        if (i > 1)
            command_line[used++] = ' ';
        std::memcpy(command_line + used, argv[i], length);
        used += length;
    }
    command_line[used] = 0;
    return WinMain(nullptr, nullptr, command_line, 1);
}
