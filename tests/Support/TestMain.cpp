// Entry of every test program: the headless environment and the sanitizers' settings live here,
// so a test program behaves the same under ctest and when started by hand.
#include <gtest/gtest.h>

#include <ftw.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Engine/Core/EngInternetThread.h"

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
    // Mesa draws on the calling thread.
    setenv("LP_NUM_THREADS", "0", 0);
#ifdef __SANITIZE_ADDRESS__
    // No shader-cache thread either: none may still be ending when the leak checker stops the process at exit
    // (its tracer can crash on one).
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
#else
    // Every case starts a process of its own; the shaders it compiles are kept for the next (the cache is
    // safe for processes running side by side).
    setenv("MESA_SHADER_CACHE_DISABLE", "false", 0);
    setenv("MESA_SHADER_CACHE_DIR", (ProgramFolder() + "/test-shader-cache").c_str(), 0);
#endif
}

// The cases a filter of the form "Suite.*" or "Suite.Case" names, as "Suite.Case"; none for other filters.
std::vector<std::string> CasesNamedBy(const std::string& filter)
{
    std::vector<std::string> cases;
    const testing::UnitTest& tests = *testing::UnitTest::GetInstance();
    for (int i = 0; i < tests.total_test_suite_count(); i++) {
        const testing::TestSuite& suite = *tests.GetTestSuite(i);
        for (int j = 0; j < suite.total_test_count(); j++) {
            std::string name = std::string(suite.name()) + "." + suite.GetTestInfo(j)->name();
            if (filter == std::string(suite.name()) + ".*" || filter == name)
                cases.push_back(name);
        }
    }
    return cases;
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

// A case's scratch folder (gtest's TempDir), removed after the case unless it failed: what a failure left is
// there to look at.
std::string MakeCaseFolder()
{
    std::string pattern = "/tmp/torvi-case-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

// Runs each case in a child process of its own: the engine's one-per-process globals (its application
// object, its main thread, its window) start fresh for every case, while the program's start (its libraries,
// its static set-up) is paid once. The exit code is 1 when any case failed or died.
int RunEachCaseInItsOwnProcess(const std::vector<std::string>& cases)
{
    std::vector<std::string> failed;
    for (const std::string& name : cases) {
        std::string folder = MakeCaseFolder();
        fflush(nullptr);
        pid_t child = fork();
        if (child == 0) {
            if (!folder.empty())
                setenv("TEST_TMPDIR", folder.c_str(), 1);
            GTEST_FLAG_SET(filter, name);
            exit(RUN_ALL_TESTS());
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            failed.push_back(name);
            if (child > 0 && WIFSIGNALED(status))
                printf("%s ended on signal %d\n", name.c_str(), WTERMSIG(status));
            printf("%s left its files in %s\n", name.c_str(), folder.c_str());
        } else if (!folder.empty()) {
            nftw(folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
        }
    }
    printf("%zu of %zu cases passed, each in its own process.\n", cases.size() - failed.size(), cases.size());
    for (const std::string& name : failed)
        printf("FAILED: %s\n", name.c_str());
    return failed.empty() ? 0 : 1;
}

}

int main(int argc, char** argv)
{
    SetHeadlessEnvironment();
    // Background reads of the loopback server end within a tick: no case waits out the game's 0.1 s pauses.
    EngInternetThreadSetTickSleep(0.001);
    testing::InitGoogleTest(&argc, argv);
    // Set by ctest (AddSuites.cmake) for a suite's run.
    if (getenv("TORVI_PROCESS_PER_CASE")) {
        std::vector<std::string> cases = CasesNamedBy(GTEST_FLAG_GET(filter));
        if (!cases.empty())
            return RunEachCaseInItsOwnProcess(cases);
    }
    return RUN_ALL_TESTS();
}
