#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "EngFileTestSupport.h"
#include "Engine/Core/EngMutex.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(EngMutex, TimeoutSetsTriesAndSetupTwiceIsRefused)
{
    EngMutex plain;
    EXPECT_FALSE(plain.IsSetup());
    EXPECT_EQ(plain.GetTries(), 1000);
    EngMutex timed(2.5);
    EXPECT_TRUE(timed.IsSetup());
    EXPECT_EQ(timed.GetTries(), 2500);
    int mark = LogMark();
    EXPECT_FALSE(timed.Setup(1.0));
    EXPECT_TRUE(LoggedSince(mark, "Already setup."));
}

TEST(EngMutex, LockWithoutSetupFailsWithReport)
{
    EngMutex mutex;
    int mark = LogMark();
    EXPECT_FALSE(mutex.Lock());
    EXPECT_TRUE(LoggedSince(mark, "Mutex not setup."));
    EXPECT_FALSE(mutex.Unlock());
}

TEST(EngMutex, LockHeldElsewhereGivesUpAfterAboutOneSecond)
{
    EngMutex mutex(0.0);
    ASSERT_TRUE(mutex.Setup(0.0));
    std::atomic<bool> held{false};
    std::atomic<bool> release{false};
    // The holder lets go only once the lock has given up, however slowly the machine runs.
    std::thread holder([&] {
        ASSERT_TRUE(mutex.Lock());
        held = true;
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!release && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_TRUE(mutex.Unlock());
    });
    while (!held)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    int mark = LogMark();
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(mutex.Lock());
    double waited = SecondsSince(start);
    release = true;
    EXPECT_TRUE(LoggedSince(mark, "Could not lock mutex."));
    EXPECT_GE(waited, 0.9);
    holder.join();
    EXPECT_TRUE(mutex.Lock());
    EXPECT_TRUE(mutex.Unlock());
}

TEST(EngMutex, UnlockFromAnotherThreadIsRefusedAndLockStaysHeld)
{
    EngMutex mutex(1.0);
    ASSERT_TRUE(mutex.Lock());
    EXPECT_TRUE(mutex.IsHeldByThisThread());
    bool foreign_unlock = true;
    bool foreign_sees_held = true;
    std::thread other([&] {
        foreign_sees_held = mutex.IsHeldByThisThread();
        foreign_unlock = mutex.Unlock();
    });
    other.join();
    EXPECT_FALSE(foreign_sees_held);
    EXPECT_FALSE(foreign_unlock);
    EXPECT_TRUE(mutex.IsHeldByThisThread());
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(mutex.IsHeldByThisThread());
}

TEST(EngMutex, ContendedCounterLosesNoIncrement)
{
    EngMutex mutex(5.0);
    int counter = 0;
    std::atomic<int> failures{0};
    auto work = [&] {
        for (int i = 0; i < 2000; i++) {
            if (!mutex.Lock()) {
                failures++;
                continue;
            }
            counter++;
            mutex.Unlock();
        }
    };
    std::thread a(work), b(work), c(work);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(counter, 6000);
}
