#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "Engine/Core/EngRandom.h"

TEST(EngRandom, SmallMaximumGivesMillionthsBelowIt)
{
    srand(7);
    for (int i = 0; i < 500; i++) {
        float r = EngMiscRandFloat(0.005f, false);
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 0.005f);
        double millionths = (double)r * 1e6;
        ASSERT_NEAR(millionths, std::round(millionths), 1e-3);
    }
}

TEST(EngRandom, LargeMaximumGivesWholeNumbers)
{
    srand(11);
    bool saw_large = false;
    for (int i = 0; i < 500; i++) {
        float r = EngMiscRandFloat(250.0f, false);
        ASSERT_EQ(r, std::floor(r));
        ASSERT_LT(r, 250.0f);
        saw_large = saw_large || r > 125.0f;
    }
    EXPECT_TRUE(saw_large);
    EXPECT_EQ(EngMiscRandFloat(0.0f, true), 0.0f);
    float huge = EngMiscRandFloat(1e30f, false);
    EXPECT_GE(huge, 0.0f);
    EXPECT_LE(huge, 1e30f);
}

TEST(EngRandom, RandomSignGivesBothSigns)
{
    srand(3);
    bool negative = false, positive = false;
    for (int i = 0; i < 200; i++) {
        float r = EngMiscRandFloat(-5.0f, true);
        ASSERT_LE(std::fabs(r), 5.0f);
        negative = negative || r < 0.0f;
        positive = positive || r > 0.0f;
    }
    EXPECT_TRUE(negative);
    EXPECT_TRUE(positive);
}

TEST(EngRandom, RangeStaysBetweenItsEnds)
{
    srand(5);
    for (int i = 0; i < 300; i++) {
        float r = EngMiscRandFloatRange(2.0f, 3.0f, false);
        ASSERT_GE(r, 2.0f);
        ASSERT_LE(r, 3.0f);
    }
    EXPECT_EQ(EngMiscRandFloatRange(4.0f, 1.0f, false), 4.0f);
    float flipped = EngMiscRandFloatRange(4.0f, 4.0f, true);
    EXPECT_EQ(std::fabs(flipped), 4.0f);
}

TEST(EngRandom, ChanceOfOneIsACoinAndBelowOneNever)
{
    srand(9);
    int hits = 0;
    for (int i = 0; i < 2000; i++)
        hits += EngMiscRandChance(1);
    EXPECT_GT(hits, 800);
    EXPECT_LT(hits, 1200);
    for (int i = 0; i < 50; i++) {
        ASSERT_FALSE(EngMiscRandChance(0));
        ASSERT_FALSE(EngMiscRandChance(-3));
    }
}

TEST(EngRandom, TwisterStateComesFromTheSystemSource)
{
    EXPECT_FALSE(EngRandomIsSetup());
    EXPECT_TRUE(EngRandomSetup());
    EXPECT_TRUE(EngRandomIsSetup());
    const EngUInt32* state = EngRandomGetState();
    EXPECT_NE(state[0] & 0x80000000u, 0u);
    EngUInt32 first[ENG_RANDOM_STATE_WORDS];
    memcpy(first, state, sizeof first);
    ASSERT_TRUE(EngRandomSetup());
    EXPECT_NE(0, memcmp(first, state, sizeof first));
    int zero_words = 0;
    for (int i = 0; i < ENG_RANDOM_STATE_WORDS; i++)
        zero_words += state[i] == 0;
    EXPECT_LT(zero_words, 3);
}
