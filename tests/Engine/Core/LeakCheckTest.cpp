// The leak checker of the sanitizer build at work with the settings of tests/Support/TestMain.cpp.
#include <gtest/gtest.h>

#ifdef TORVI_THREAD_LOCAL_BLOCK

#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <sanitizer/lsan_interface.h>

// A loaded library's thread-local block that starts 16 bytes past a page made the leak check die scanning
// ("Tracer caught signal 11"), at the exit of whichever test the heap's layout put it there for.
TEST(LeakCheck, RunsWithALoadedLibrarysThreadLocalBlockSixteenBytesPastAPage)
{
    void* library = dlopen(TORVI_THREAD_LOCAL_BLOCK, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto touch = reinterpret_cast<long* (*)()>(dlsym(library, "ThreadLocalBlockTouch"));
    ASSERT_NE(touch, nullptr);

    // Chunks of the block's size come one after another: take them until the next starts 16 bytes past a page.
    const uintptr_t page = 4096;
    static void* taken[1024];
    taken[0] = std::malloc(sizeof(long));
    taken[1] = std::malloc(sizeof(long));
    const intptr_t stride = (intptr_t)taken[1] - (intptr_t)taken[0];
    int n = 2;
    while (((uintptr_t)taken[n - 1] + stride) % page != 16 && n < 1024)
        taken[n++] = std::malloc(sizeof(long));
    ASSERT_EQ((uintptr_t)touch() % page, 16u) << "the block landed elsewhere: the test no longer places it";

    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
    for (int i = 0; i < n; i++)
        std::free(taken[i]);
}

#endif
