#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "EngFileTestSupport.h"
#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngThread.h"
#include "Support/WaitFor.h"

namespace {

// Records what the worker did, in the order it did it.
class RecordingThread : public EngThread
{
public:
    explicit RecordingThread(bool init_result = true, int ticks_before_exit = -1)
        : EngThread("Recorder", 0, 0), init_result(init_result), ticks_before_exit(ticks_before_exit)
    {
        SetTickSleep(0.001);
    }
    ~RecordingThread() override { Destroy(true); }

    bool InitCB() override
    {
        init_calls++;
        worker_blocks_signals = SignalsBlockedHere();
        return init_result;
    }
    bool TickCB() override
    {
        if (exit_calls > 0)
            tick_after_exit = true;
        int done = ++ticks;
        return ticks_before_exit < 0 || done < ticks_before_exit;
    }
    void ExitCB(bool destroying) override
    {
        exit_calls++;
        exit_destroying = destroying;
        if (slow_exit)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        exit_finished = true;
    }

    static bool SignalsBlockedHere()
    {
        sigset_t mask;
        pthread_sigmask(SIG_SETMASK, nullptr, &mask);
        return sigismember(&mask, SIGINT) == 1 && sigismember(&mask, SIGTERM) == 1;
    }

    bool init_result;
    int ticks_before_exit;
    bool slow_exit = false;
    std::atomic<int> init_calls{0};
    std::atomic<int> ticks{0};
    std::atomic<int> exit_calls{0};
    std::atomic<bool> exit_destroying{false};
    std::atomic<bool> exit_finished{false};
    std::atomic<bool> tick_after_exit{false};
    std::atomic<bool> worker_blocks_signals{false};
};

}  // namespace

TEST(EngThread, StartsTicksAndDestroyRunsExitWithDestroyingBeforeReturning)
{
    RecordingThread thread;
    ASSERT_TRUE(thread.Create(nullptr));
    EXPECT_TRUE(thread.IsRunning());
    ASSERT_TRUE(WaitFor([&] { return thread.ticks >= 3; }));
    thread.slow_exit = true;
    thread.Destroy(true);
    EXPECT_TRUE(thread.exit_finished);
    EXPECT_EQ(thread.init_calls, 1);
    EXPECT_EQ(thread.exit_calls, 1);
    EXPECT_TRUE(thread.exit_destroying);
    EXPECT_FALSE(thread.tick_after_exit);
    EXPECT_EQ(thread.GetState(), 0);
    EXPECT_FALSE(thread.IsRunning());
}

TEST(EngThread, InitFailureEndsThreadWithoutTickAndExitGetsFalse)
{
    RecordingThread thread(false);
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitFor([&] { return !thread.IsRunning(); }));
    EXPECT_EQ(thread.ticks, 0);
    EXPECT_EQ(thread.exit_calls, 1);
    EXPECT_FALSE(thread.exit_destroying);
    EXPECT_EQ(thread.GetState(), 0);  // IsRunning destroyed the finished thread
}

TEST(EngThread, TickReturningFalseEndsThreadAfterExactCount)
{
    RecordingThread thread(true, 5);
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitFor([&] { return !thread.IsRunning(); }));
    EXPECT_EQ(thread.ticks, 5);
    EXPECT_EQ(thread.exit_calls, 1);
    EXPECT_FALSE(thread.exit_destroying);
}

TEST(EngThread, CreateOnRunningThreadDestroysTheOldOneFirst)
{
    RecordingThread thread;
    ASSERT_TRUE(thread.Create("First"));
    ASSERT_TRUE(WaitFor([&] { return thread.ticks >= 1; }));
    int mark = LogMark();
    ASSERT_TRUE(thread.Create("Second"));
    EXPECT_TRUE(LoggedSince(mark, "Already Initialsed [2]"));
    EXPECT_EQ(thread.exit_calls, 1);
    EXPECT_TRUE(thread.exit_destroying);
    EXPECT_STREQ(thread.GetName(), "Second");
    ASSERT_TRUE(WaitFor([&] { return thread.init_calls == 2; }));
    EXPECT_TRUE(thread.IsRunning());
}

TEST(EngThread, WorkerBlocksSignalsButCreatorKeepsItsMask)
{
    ASSERT_FALSE(RecordingThread::SignalsBlockedHere());
    RecordingThread thread;
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitFor([&] { return thread.init_calls == 1; }));
    EXPECT_TRUE(thread.worker_blocks_signals);
    EXPECT_FALSE(RecordingThread::SignalsBlockedHere());
}

TEST(EngThread, OwnerHoldingMutexPausesTicksUntilReleased)
{
    RecordingThread thread;
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitFor([&] { return thread.ticks >= 1; }));
    ASSERT_TRUE(thread.WaitForMutex());
    EXPECT_TRUE(thread.HasMutex());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    int paused_at = thread.ticks;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LE(thread.ticks - paused_at, 1);
    thread.DoneWithMutex();
    EXPECT_FALSE(thread.HasMutex());
    ASSERT_TRUE(WaitFor([&] { return thread.ticks > paused_at + 3; }));
}

TEST(EngThread, WaitForMutexTwiceOnSameThreadIsRefused)
{
    RecordingThread thread;
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(thread.WaitForMutex());
    EXPECT_FALSE(thread.WaitForMutex());
    thread.DoneWithMutex();
    EngThread idle("Idle", 0, 0);
    EXPECT_FALSE(idle.WaitForMutex());
    EXPECT_FALSE(idle.HasMutex());
}

TEST(EngThread, MutexWaitTimesOutWhileOtherThreadHoldsIt)
{
    RecordingThread thread;
    thread.SetMutexTimeout(0.3);
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(thread.WaitForMutex());
    bool other_got_it = true;
    std::thread other([&] { other_got_it = thread.WaitForMutex(); });
    other.join();
    EXPECT_FALSE(other_got_it);
    thread.DoneWithMutex();
}

TEST(EngThread, TickAndExitCallbacksWithUserData)
{
    struct Counts
    {
        std::atomic<int> ticks{0};
        std::atomic<int> exits{0};
        std::atomic<bool> destroying{true};
    } counts;
    EngThread thread("Callbacks", 0, 0);
    thread.SetTickCallback(
        [](void* data) { return ++static_cast<Counts*>(data)->ticks < 4; }, &counts);
    thread.SetExitCallback(
        [](void* data, bool destroying) {
            static_cast<Counts*>(data)->exits++;
            static_cast<Counts*>(data)->destroying = destroying;
        },
        &counts);
    ASSERT_TRUE(thread.Create(nullptr));
    ASSERT_TRUE(WaitFor([&] { return !thread.IsRunning(); }));
    EXPECT_EQ(counts.ticks, 4);
    EXPECT_EQ(counts.exits, 1);
    EXPECT_FALSE(counts.destroying);
}

TEST(EngThread, NameIsCutToFifteenCharacters)
{
    EngThread thread("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, 0);
    EXPECT_STREQ(thread.GetName(), "ABCDEFGHIJKLMNO");
}

// A fatal check inside the worker ends only that thread: the owner's Destroy
// must still return. Run apart, so the process-wide fatal state of other tests plays no part, and under an
// alarm, so a hang fails instead of stalling the suite.
TEST(EngThread, FatalCheckInWorkerStillLetsDestroyReturn)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(20);
            EngMainRecordMainThread();
            std::atomic<bool> after_check{false};
            EngThread thread("Reader", 0, 0);
            thread.SetTickCallback(
                [](void* data) {
                    DebugFatalCheck(false, "bool Reader::Tick()", "reader broke");
                    *static_cast<std::atomic<bool>*>(data) = true;
                    return true;
                },
                &after_check);
            thread.Create(nullptr);
            WaitFor([] { return EngMainWorkerFailed(); });
            thread.Destroy(true);
            bool whole = !after_check && thread.GetState() == 0 && EngMainWorkerFailed();
            std::_Exit(whole ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}
