// The platform clock behind eng_time.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/PC/EngTimer_PC.h"

namespace
{
TEST(EngTimer, ClockStartsNearZeroAndNeverGoesBack)
{
    EngMainStartClock_PC();
    ASSERT_TRUE(EngTimerHasHighResolutionCounter_PC());
    double previous = EngMainGetTime_PC();
    EXPECT_GE(previous, 0.0);
    EXPECT_LT(previous, 1.0);
    for (int i = 0; i < 100000; i++)
    {
        double now = EngMainGetTime_PC();
        ASSERT_GE(now, previous);
        previous = now;
    }
    SDL_Delay(20);
    EXPECT_GT(EngMainGetTime_PC() - previous, 0.015);
}

TEST(EngTimer, EngineClockReadsThePlatformClock)
{
    EngMainStartClock_PC();
    SDL_Delay(5);
    double before = EngMainGetTime_PC();
    double engine = EngMainUpdateTime();
    double after = EngMainGetTime_PC();
    EXPECT_EQ(engine, eng_time);
    EXPECT_GE(engine, before);
    EXPECT_LE(engine, after);
}

TEST(EngTimer, WithoutACounterTheClockCountsMilliseconds)
{
    EngTimerForceMillisecondClock_PC(true);
    EngMainStartClock_PC();
    EXPECT_FALSE(EngTimerHasHighResolutionCounter_PC());
    // Bracketed by the millisecond clock, so a pause between the reads cannot fail the test.
    double before = double(SDL_GetTicks64()) / 1000.0;
    double seconds = EngMainGetTime_PC();
    double after = double(SDL_GetTicks64()) / 1000.0;
    EXPECT_GE(seconds, before);
    EXPECT_LE(seconds, after);
    EXPECT_EQ(seconds * 1000.0, double(EngUInt32(seconds * 1000.0 + 0.5))) << "whole milliseconds";
    EngTimerForceMillisecondClock_PC(false);
    EngMainStartClock_PC();
    EXPECT_TRUE(EngTimerHasHighResolutionCounter_PC());
}
} // namespace
