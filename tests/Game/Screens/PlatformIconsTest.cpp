// Platform letters and their icons drawn into a real context.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Engine/Core/EngDebug.h"
#include "Engine/Graphics/EngDevice.h"
#include "Game/Screens/PlatformIcons.h"
#include "Game/Screens/ScreensPixelFixture.h"
#include "Support/LogForTests.h"

TEST(PlatformLetters, ExactlyTheTwelveLettersAreValid)
{
    std::string valid;
    for (int c = 1; c < 256; c++)
        if (PlatformIsPlatformValid((char)c, false))
            valid += (char)c;
    EXPECT_EQ("ABFILMPRWbmr", valid);
    EXPECT_EQ('W', PlatformGetCurrentPlatform(false));
    EXPECT_FALSE(PlatformIsPlatformValid(0, false));
}

TEST(PlatformLetters, InvalidLetterIsReportedByNumberOnlyWhenAsked)
{
    int start = DebugGetMessageCount();
    EXPECT_FALSE(PlatformIsPlatformValid('S', false));
    EXPECT_EQ(0, LogCountSince(start, "Invalid platform"));
    EXPECT_FALSE(PlatformIsPlatformValid('S', true));
    EXPECT_EQ(1, LogCountSince(start, "Invalid platform '83'."));
}

TEST(PlatformLetters, IconCellsShareMAndCoverS)
{
    float upper[4], lower[4];
    ASSERT_TRUE(PlatformGetIconTexCoords('M', upper));
    ASSERT_TRUE(PlatformGetIconTexCoords('m', lower));
    EXPECT_EQ(0, memcmp(upper, lower, sizeof upper));
    float s[4];
    ASSERT_TRUE(PlatformGetIconTexCoords('S', s));
    EXPECT_FLOAT_EQ(0.76f, s[0]);
    EXPECT_FLOAT_EQ(0.26f, s[1]);
    EXPECT_FLOAT_EQ(0.99f, s[2]);
    EXPECT_FLOAT_EQ(0.49f, s[3]);
    EXPECT_FALSE(PlatformGetIconTexCoords('Z', s));
    // Every icon stays inside its own quarter cell.
    for (char letter : std::string("ABFILMPRWbmrS")) {
        float r[4];
        ASSERT_TRUE(PlatformGetIconTexCoords(letter, r));
        EXPECT_EQ((int)(r[0] * 4), (int)(r[2] * 4)) << letter;
        EXPECT_EQ((int)(r[1] * 4), (int)(r[3] * 4)) << letter;
    }
}

class PlatformIcons : public ScreensPixelFixture {};

TEST_F(PlatformIcons, LowerMDrawsTheSameIconAsUpperMAndWDiffers)
{
    ASSERT_TRUE(PlatformCreateGraphics());
    const _Dimension upper = {40, 40, 64, 64};
    const _Dimension lower = {140, 40, 64, 64};
    const _Dimension own = {240, 40, 64, 64};
    BeginTestFrame();
    PlatformDrawIcon('M', &upper, 1.0f);
    PlatformDrawIcon('m', &lower, 1.0f);
    PlatformDrawIcon(PlatformGetCurrentPlatform(false), &own, 1.0f);
    EndTestFrame();
    EXPECT_GT(Lit(upper), 64 * 64 / 2);
    EXPECT_EQ(Read(upper), Read(lower));
    EXPECT_NE(Read(upper), Read(own));
}

TEST_F(PlatformIcons, UnknownLettersDrawNothingAndAreReportedTwentyTimesAtMost)
{
    ASSERT_TRUE(PlatformCreateGraphics());
    const _Dimension box = {300, 200, 64, 64};
    int start = DebugGetMessageCount();
    BeginTestFrame();
    for (int i = 0; i < PLATFORM_MAX_UNKNOWN_REPORTS + 5; i++)
        PlatformDrawIcon('Z', &box, 1.0f);
    EndTestFrame();
    EXPECT_EQ(0, Lit(box));
    EXPECT_EQ(PLATFORM_MAX_UNKNOWN_REPORTS, LogCountSince(start, "Unknown platform: Z"));
}

TEST_F(PlatformIcons, HalfAlphaIsDimmerAndTheColourIsRestoredAfterwards)
{
    ASSERT_TRUE(PlatformCreateGraphics());
    const _Dimension faint = {40, 200, 64, 64};
    const _Dimension after = {140, 200, 64, 64};
    const _Dimension full = {240, 200, 64, 64};
    BeginTestFrame();
    EngDeviceEnableBlendingType(0);
    EngDeviceTurnOnAlphaModulation();
    PlatformDrawIcon('W', &full, 1.0f);
    PlatformDrawIcon('W', &faint, 0.25f);
    PlatformDrawIcon('W', &after, 1.0f);
    EndTestFrame();
    EXPECT_EQ(Read(full), Read(after));
    EXPECT_NE(Read(full), Read(faint));
}

TEST_F(PlatformIcons, NothingIsDrawnWithoutTheTexture)
{
    const _Dimension box = {300, 200, 64, 64};
    int start = DebugGetMessageCount();
    BeginTestFrame();
    PlatformDrawIcon('W', &box, 1.0f);
    PlatformDrawIcon('Z', &box, 1.0f);
    EndTestFrame();
    EXPECT_EQ(0, Lit(box));
    EXPECT_EQ(0, LogCountSince(start, "Unknown platform"));
}
