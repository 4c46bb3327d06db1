// The matrix helpers keep Direct3D's conventions: row vectors, depth 0..1, and the order of composed turns.

#include <gtest/gtest.h>

#include <cmath>

#include "Engine/Core/EngMath.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngMatrix.h"
#include "Support/GLTestContext.h"

namespace {

constexpr float kQuarterTurn = 1.5707963f;

void ExpectPoint(const float m[16], float x, float y, float z, float ex, float ey, float ez)
{
    float out[4];
    EngMatrixTransformPoint(out, m, x, y, z);
    EXPECT_NEAR(out[0] / out[3], ex, 1e-5f);
    EXPECT_NEAR(out[1] / out[3], ey, 1e-5f);
    EXPECT_NEAR(out[2] / out[3], ez, 1e-5f);
}

} // namespace

TEST(EngMatrix, RotationZMatchesTheEngineMatrix)
{
    float m[16], engine[16];
    EngMatrixRotationZ(m, 0.3f);
    EngMatrix4 reference;
    reference.SetRotationZ(0.3f);
    reference.CopyTo(engine);
    for (int i = 0; i < 16; i++)
        EXPECT_FLOAT_EQ(m[i], engine[i]) << i;
}

TEST(EngMatrix, QuarterTurnsMoveTheAxesAsDirect3DDoes)
{
    float m[16];
    EngMatrixRotationX(m, kQuarterTurn);
    ExpectPoint(m, 0, 1, 0, 0, 0, 1);
    EngMatrixRotationY(m, kQuarterTurn);
    ExpectPoint(m, 0, 0, 1, 1, 0, 0);
    EngMatrixRotationZ(m, kQuarterTurn);
    ExpectPoint(m, 1, 0, 0, 0, 1, 0);
}

TEST(EngMatrix, MultiplyAppliesTheLeftMatrixFirst)
{
    float turn[16], move[16], both[16];
    EngMatrixRotationZ(turn, kQuarterTurn);
    EngMatrixTranslation(move, 10, 0, 0);
    EngMatrixMultiply(both, turn, move);
    ExpectPoint(both, 1, 0, 0, 10, 1, 0);
    EngMatrixMultiply(both, move, turn); // moved first, then turned
    ExpectPoint(both, 1, 0, 0, 0, 11, 0);
    EngMatrixScaling(move, 2, 3, 4);
    EngMatrixMultiply(move, move, move); // output aliasing an input
    ExpectPoint(move, 1, 1, 1, 4, 9, 16);
}

TEST(EngMatrix, PerspectiveMapsNearAndFarToDepthZeroAndOne)
{
    float m[16];
    EngMatrixPerspectiveFovRH(m, 0.7853982f, 4.0f / 3.0f, 0.5f, 100.0f);
    ExpectPoint(m, 0, 0, -0.5f, 0, 0, 0); // right-handed: the camera looks down -z
    ExpectPoint(m, 0, 0, -100.0f, 0, 0, 1);
    const float edge = 10.0f * tanf(0.7853982f / 2.0f);
    ExpectPoint(m, 0, edge, -10.0f, 0, 1, (100.0f / 99.5f) * (1.0f - 0.5f / 10.0f));
}

TEST(EngMatrix, OrthoOffCenterMapsTheBoxToClipSpace)
{
    float m[16];
    EngMatrixOrthoOffCenterLH(m, 0, 640, 480, 0, 0, 1);
    ExpectPoint(m, 0, 0, 0, -1, 1, 0);
    ExpectPoint(m, 640, 480, 1, 1, -1, 1);
    EngMatrixOrthoOffCenterRH(m, 0, 640, 480, 0, 0, 1);
    ExpectPoint(m, 320, 240, -1, 0, 0, 1);
}

TEST(EngMatrix, DeviceTurnsAboutYThenXThenZThenMoves)
{
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(640, 480));
    const _Vector3d turn = {kQuarterTurn, kQuarterTurn, 0};
    EngDeviceSetTransformMatrixToPosAndRot(nullptr, &turn);
    float m[16];
    eng_device_dx9->GetTransformMatrixToDxMatrix(m);
    ExpectPoint(m, 1, 0, 0, 0, 1, 0); // about Y: (0, 0, -1); then about X: (0, 1, 0)

    const _Vector3d position = {10, 20, 30}, spin = {0, 0, kQuarterTurn}, scale = {2, 2, 2};
    EngDeviceSetTransformMatrixToPosRotAndScale(&position, &spin, &scale);
    eng_device_dx9->GetTransformMatrixToDxMatrix(m);
    ExpectPoint(m, 1, 0, 0, 10, 22, 30);
    EngDeviceSetTransformMatrixToPosAndRot(nullptr, nullptr);
    eng_device_dx9->GetTransformMatrixToDxMatrix(m);
    ExpectPoint(m, 3, 4, 5, 3, 4, 5);
}
