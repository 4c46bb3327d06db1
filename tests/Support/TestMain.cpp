// Entry of every test program: the headless environment and the sanitizers' settings live here,
// so a test program behaves the same under ctest and when started by hand.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" {

// Allocations that the system's graphics, windowing, sound and font libraries keep for the life
// of the process; none of them is ours.
const char* __lsan_default_suppressions()
{
    return "leak:libGLX\n"
           "leak:libGL.so\n"
           "leak:libEGL\n"
           "leak:libgallium\n"
           "leak:swrast_dri\n"
           "leak:libLLVM\n"
           "leak:libdbus\n"
           "leak:libX11\n"
           "leak:libxcb\n"
           "leak:libSDL2\n"
           "leak:libfontconfig\n"
           "leak:libglib\n"
           "leak:libgobject\n"
           "leak:libgtk\n"
           "leak:libgdk\n"
           "leak:libopenal\n"
           "leak:libasound\n"
           "leak:libpulse\n";
}

// GCC 12's runtime takes the 16 bytes before a library's thread-local block (LLVM's, under the GL driver) for
// the header old glibc put there when the block starts 16 bytes past a page. glibc now takes these blocks from
// malloc, so that is the allocator's chunk header, and the leak check at exit scanned a senseless range and died
// ("Tracer caught signal 11") whenever the heap's layout put the block there. Without the interceptor the blocks
// still hold what they point to: the leak checker counts every allocation of the dynamic linker as a root.
const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

}

namespace {

std::string ProgramFolder()
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return ".";
    path[length] = 0;
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('/'));
}

// Values already set by the caller win, so a run can still point a test elsewhere.
void SetHeadlessEnvironment()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("TORVI_NONINTERACTIVE", "1", 0);
    setenv("TORVI_WEB_BASE", "http://127.0.0.1:9", 0);
    setenv("XDG_DATA_HOME", (ProgramFolder() + "/test-home").c_str(), 0);
    // Mesa draws on the calling thread and keeps no shader-cache thread: no driver thread is still ending when
    // the leak checker stops the process at exit (its tracer can crash on one), and parallel test processes
    // share no cache folder.
    setenv("LP_NUM_THREADS", "0", 0);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
}

}

int main(int argc, char** argv)
{
    SetHeadlessEnvironment();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
