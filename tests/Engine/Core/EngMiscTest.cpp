#include <gtest/gtest.h>

#include <cmath>

#include "Engine/Core/EngMisc.h"
#include "Engine/Core/EngProgram.h"

namespace {
constexpr float k_pi = 3.14159265f;
}

TEST(EngMisc, TimerFiresWhenTheClockReachesItAndRearms)
{
    eng_time = 10.0;
    double next = 12.0;
    EXPECT_FALSE(EngMiscTimerElapsed(&next, 1.5));
    eng_time = 12.0;
    EXPECT_TRUE(EngMiscTimerElapsed(&next, 1.5));
    EXPECT_DOUBLE_EQ(next, 13.5);
    EXPECT_FALSE(EngMiscTimerElapsed(&next, 1.5));
    EXPECT_FALSE(EngMiscTimerElapsed(nullptr, 1.0));
}

TEST(EngMisc, PulseStartsAtZeroPeaksAtPiAndMarksEachDoublePeriod)
{
    float phase = 0.0f;
    bool passed = true;
    EXPECT_NEAR(EngMiscAdvancePulse(&phase, 0.0f, &passed), 0.0f, 1e-6f);
    EXPECT_FALSE(passed);
    EXPECT_NEAR(EngMiscAdvancePulse(&phase, k_pi / 2, &passed), 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(phase, k_pi);
    EXPECT_FALSE(passed);
    // Crossing 2 pi marks a pass, as does the wrap at 4 pi.
    EXPECT_NEAR(EngMiscAdvancePulse(&phase, k_pi / 2 + 0.01f, &passed), 0.0f, 1e-3f);
    EXPECT_TRUE(passed);
    EngMiscAdvancePulse(&phase, k_pi / 2, &passed);
    EXPECT_FALSE(passed);
    EngMiscAdvancePulse(&phase, k_pi / 2, &passed);
    EXPECT_TRUE(passed);
    EXPECT_LT(phase, 4 * k_pi);
    EXPECT_GE(phase, 0.0f);
    EXPECT_EQ(EngMiscAdvancePulse(nullptr, 1.0f, &passed), 0.0f);
    EXPECT_FALSE(passed);
}

TEST(EngMisc, BackwardsPulseWrapsUpwards)
{
    float phase = 0.0f;
    bool passed = false;
    EngMiscAdvancePulse(&phase, -1.0f, &passed);
    EXPECT_TRUE(passed);
    EXPECT_NEAR(phase, 4 * k_pi - 2.0f, 1e-5f);
}
