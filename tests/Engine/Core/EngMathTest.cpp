#include <gtest/gtest.h>

#include <cmath>

#include "Engine/Core/EngMath.h"

namespace {
constexpr float k_pi = 3.14159265f;

void Transform(const EngMatrix4& m, float x, float y, float out[2])
{
    out[0] = x * m.m[0] + y * m.m[4] + m.m[12];
    out[1] = x * m.m[1] + y * m.m[5] + m.m[13];
}
} // namespace

TEST(EngMath, RoundingGoesHalvesAwayFromZero)
{
    EXPECT_EQ(EngRoundFloat(2.5f), 3);
    EXPECT_EQ(EngRoundFloat(-2.5f), -3);
    EXPECT_EQ(EngRoundFloat(2.49f), 2);
    EXPECT_EQ(EngRoundDouble(-0.5), -1);
    EXPECT_EQ(EngAbs(-7), 7);
    EXPECT_EQ(EngClamp(5, 10, 3), 3);
    EXPECT_EQ(EngClamp(-1, 0, 9), 0);
    float f = 12.0f;
    EngMiscClampFloat(&f, 0.0f, 10.0f);
    EXPECT_EQ(f, 10.0f);
    EngMiscClampFloat(nullptr, 0.0f, 1.0f);
}

TEST(EngMath, DirectionAnglesCoverTheCircle)
{
    EXPECT_FLOAT_EQ(EngGetDirectionAngle(0.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(EngGetDirectionAngle(1.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(EngGetDirectionAngle(0.0f, 2.0f), k_pi / 2);
    EXPECT_FLOAT_EQ(EngGetDirectionAngle(-1.0f, 0.0f), k_pi);
    EXPECT_FLOAT_EQ(EngGetDirectionAngle(0.0f, -3.0f), 3 * k_pi / 2);
    EXPECT_FLOAT_EQ(EngGetAngleBetweenPoints(1.0f, 1.0f, 2.0f, 2.0f), k_pi / 4);
    float tiny = EngGetDirectionAngle(1.0f, -1e-9f);
    EXPECT_GE(tiny, 0.0f);
    EXPECT_LT(tiny, 2 * k_pi);
}

TEST(EngMath, NormaliseLeavesZeroVectorAlone)
{
    _Vector3d v = {3.0f, 0.0f, 4.0f};
    EngNormaliseVector3d(&v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);
    _Vector3d zero = {0.0f, 0.0f, 0.0f};
    EngNormaliseVector3d(&zero);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_FALSE(std::isnan(zero.y));
}

TEST(EngMath, NearlyEqualIsRelative)
{
    EXPECT_TRUE(EngMiscFloatsNearlyEqual(1000.0f, 1000.5f));
    EXPECT_FALSE(EngMiscFloatsNearlyEqual(1.0f, 1.01f));
    EXPECT_TRUE(EngMiscFloatsNearlyEqual(1.5f, 1.5f));
    EXPECT_FALSE(EngMiscFloatsNearlyEqual(0.001f, 0.0f));
    EXPECT_TRUE(EngMiscFloatsNearlyEqual(0.0f, 0.0f));
}

TEST(EngMath, RangesAndInterpolation)
{
    const float none[6] = {0, 0, 0, 0, 0, 0};
    const float inverted[6] = {0, 0, 5, 1, 0, 0};
    const float set[6] = {0, 0, 1, 5, 0, 0};
    EXPECT_FALSE(EngRangesAreSet(none));
    EXPECT_FALSE(EngRangesAreSet(inverted));
    EXPECT_TRUE(EngRangesAreSet(set));
    float v[3];
    EngRandVector3dInRanges(v, set);
    EXPECT_EQ(v[0], 0.0f);
    EXPECT_GE(v[1], 1.0f);
    EXPECT_LE(v[1], 5.0f);

    const float a[4] = {0, 1, 2, 3}, b[4] = {4, 1, 0, 3};
    float out[4];
    ASSERT_TRUE(EngInterpolateFloat4(a, b, 0.25f, out));
    EXPECT_FLOAT_EQ(out[0], 1.0f);
    EXPECT_FLOAT_EQ(out[1], 1.0f);
    EXPECT_FLOAT_EQ(out[2], 1.5f);
    EXPECT_FALSE(EngInterpolateFloat4(nullptr, b, 0.5f, out));
}

TEST(EngMatrix4, RotationElementsAndTranslationRow)
{
    EngMatrix4 r;
    r.SetRotationZ(0.5f);
    EXPECT_FLOAT_EQ(r.m[0], std::cos(0.5f));
    EXPECT_FLOAT_EQ(r.m[1], std::sin(0.5f));
    EXPECT_FLOAT_EQ(r.m[4], -std::sin(0.5f));
    EXPECT_FLOAT_EQ(r.m[5], std::cos(0.5f));
    EngMatrix4 t;
    t.SetTranslation(1, 2, 3);
    EXPECT_EQ(t.m[12], 1.0f);
    EXPECT_EQ(t.m[13], 2.0f);
    EXPECT_EQ(t.m[14], 3.0f);
    EXPECT_EQ(t.m[15], 1.0f);
}

TEST(EngMatrix4, MultiplyAppliesTheOtherTransformationFirst)
{
    EngMatrix4 m;
    m.SetTranslation(10, 0, 0);
    EngMatrix4 rotation;
    rotation.SetRotationZ(k_pi / 2);
    EXPECT_EQ(m.Multiply(&rotation), &m);
    // (1, 0) turned a quarter to (0, 1), then moved to (10, 1).
    float p[2];
    Transform(m, 1, 0, p);
    EXPECT_NEAR(p[0], 10.0f, 1e-5f);
    EXPECT_NEAR(p[1], 1.0f, 1e-5f);
    EngMatrix4 before = m;
    m.Multiply(nullptr);
    EXPECT_EQ(0, memcmp(before.m, m.m, sizeof m.m));
}

TEST(EngMatrix4, CopiesInAndOut)
{
    float values[16];
    for (int i = 0; i < 16; i++)
        values[i] = (float)i;
    EngMatrix4 m;
    EXPECT_EQ(m.CopyFrom(values), &m);
    EXPECT_EQ(m.CopyFrom(nullptr), nullptr);
    float out[16];
    m.CopyTo(out);
    EXPECT_EQ(0, memcmp(values, out, sizeof out));
    m.SetScale(2, 3, 4);
    EXPECT_EQ(m.m[0], 2.0f);
    EXPECT_EQ(m.m[10], 4.0f);
    EXPECT_EQ(m.m[12], 0.0f);
}
