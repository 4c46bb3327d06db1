// Quads, triangle lists and dimming.
#include <gtest/gtest.h>

#include <cstring>

#include "Engine/Core/EngMath.h"
#include "Engine/Graphics/DX9/EngDimDX9.h"
#include "Engine/Graphics/DX9/EngVertexBufferDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngDim.h"
#include "Engine/Graphics/EngTriangleList.h"
#include "Engine/Graphics/EngVertexBuffer.h"
#include "GraphicsTestUtil.h"
#include "Support/GLTestContext.h"

namespace {

const float* Vertex(const EngVertexBufferDX9& quad, int v)
{
    return (const float*)(quad.GetVertexData() + v * EngVertexBufferGetLayout(quad.GetType())->stride);
}

const unsigned char* Colour(const EngVertexBufferDX9& quad, int v)
{
    const _EngVertexLayout* layout = EngVertexBufferGetLayout(quad.GetType());
    return quad.GetVertexData() + v * layout->stride + layout->colour_offset;
}

} // namespace

TEST(VertexLayouts, StridesAndFormatsMatchTheTypes)
{
    const int strides[] = {20, 32, 24, 36, 40, 16, 24, 28, 20};
    const unsigned int fvfs[] = {0x102, 0x112, 0x142, 0x152, 0x1D2, 0x42, 0x104, 0x144, 0x44};
    for (int type = 1; type <= 9; ++type) {
        ASSERT_NE(nullptr, EngVertexBufferGetLayout(type));
        EXPECT_EQ(strides[type - 1], EngVertexBufferGetLayout(type)->stride) << type;
        EXPECT_EQ(fvfs[type - 1], EngVertexBufferGetLayout(type)->fvf) << type;
    }
    EXPECT_EQ(nullptr, EngVertexBufferGetLayout(0));
    EXPECT_EQ(nullptr, EngVertexBufferGetLayout(10));
}

TEST(VertexLayouts, ColoursAreClampedAndRoundedWhenPacked)
{
    EXPECT_EQ(0xFFFFFFFFu, EngVertexBufferPackColour(1.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_EQ(0xFF00FF00u, EngVertexBufferPackColour(-3.0f, 7.0f, -0.1f, 1.5f));
    EXPECT_EQ(0x80808080u, EngVertexBufferPackColour(0.502f, 0.502f, 0.502f, 0.502f));
}

class Quads : public GLTestFixture {};

TEST_F(Quads, CornersFollowTheStripOrder)
{
    EngVertexBufferDX9 quad2d;
    ASSERT_TRUE(quad2d.Create(EVBT_POS_TEX_2D));
    quad2d.SetPositions(10, 20, 100, 50);
    const float expect2d[4][2] = {{9.5f, 70.5f}, {9.5f, 19.5f}, {110.5f, 70.5f}, {110.5f, 19.5f}};
    for (int v = 0; v < 4; ++v) {
        EXPECT_FLOAT_EQ(expect2d[v][0], Vertex(quad2d, v)[0]) << v;
        EXPECT_FLOAT_EQ(expect2d[v][1], Vertex(quad2d, v)[1]) << v;
        EXPECT_FLOAT_EQ(1.0f, Vertex(quad2d, v)[3]) << v;
    }
    EngVertexBufferDX9 quad3d;
    ASSERT_TRUE(quad3d.Create(EVBT_POS_TEX));
    quad3d.SetPositions(1, 2, 3, 4);
    quad3d.SetTextureCoordinates(0.1f, 0.2f, 0.3f, 0.4f);
    const float expect3d[4][4] = {{1, -6, 0.1f, 0.4f}, {1, -2, 0.1f, 0.2f}, {4, -6, 0.3f, 0.4f}, {4, -2, 0.3f, 0.2f}};
    for (int v = 0; v < 4; ++v) {
        EXPECT_FLOAT_EQ(expect3d[v][0], Vertex(quad3d, v)[0]) << v;
        EXPECT_FLOAT_EQ(expect3d[v][1], Vertex(quad3d, v)[1]) << v;
        EXPECT_FLOAT_EQ(expect3d[v][2], Vertex(quad3d, v)[3]) << v;
        EXPECT_FLOAT_EQ(expect3d[v][3], Vertex(quad3d, v)[4]) << v;
    }
}

TEST_F(Quads, SameValuesAreWrittenOnce)
{
    EngVertexBufferDX9 quad;
    ASSERT_TRUE(quad.Create(EVBT_POS_COL_TEX));
    const int created = quad.GetWriteCount();
    quad.SetColour(0.5f, 0.25f, 1.0f, 1.0f);
    quad.SetColour(0.5f, 0.25f, 1.0f, 1.0f);
    EXPECT_EQ(created + 1, quad.GetWriteCount());
    quad.SetPositions(1, 1, 5, 5);
    quad.SetPositions(1, 1, 5, 5);
    EXPECT_EQ(created + 2, quad.GetWriteCount());
    EXPECT_EQ(128, Colour(quad, 2)[0]);
    EXPECT_EQ(64, Colour(quad, 2)[1]);
    EXPECT_EQ(255, Colour(quad, 2)[2]);
}

TEST_F(Quads, PlaneQuadsAndTheirRefusals)
{
    const _Vector3d a = {1, 2, 3};
    const _Vector3d b = {4, 5, 6};
    EngVertexBufferDX9 quad;
    ASSERT_TRUE(quad.Create(EVBT_POS_NORM_TEX));
    quad.SetPositions3dVec3(1, &a, &b);
    const float plane1[4][3] = {{4, 2, 3}, {4, 2, 6}, {1, 2, 3}, {1, 2, 6}};
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(0, std::memcmp(plane1[v], Vertex(quad, v), sizeof(plane1[v]))) << v;
    const int writes = quad.GetWriteCount();
    quad.SetPositions3dVec3(1, &a, &b);
    quad.SetPositions3dVec3(7, &b, &a);
    EXPECT_EQ(writes, quad.GetWriteCount());
    EXPECT_FLOAT_EQ(-1.0f, Vertex(quad, 0)[5]); // the default normal faces the viewer

    EngVertexBufferDX9 flat;
    ASSERT_TRUE(flat.Create(EVBT_POS_TEX_2D));
    ClearLogMark();
    flat.SetPositions3dVec3(0, &a, &b);
    EXPECT_TRUE(LogHas("Not supported for 2D Textures"));
    ClearLogMark();
    EXPECT_FALSE(flat.Create((_EngVertexBufferType)12));
    EXPECT_TRUE(LogHas("Warning - Already created"));
    EXPECT_TRUE(LogHas("Invalid Type: 12"));
}

TEST_F(Quads, ColouredPixelQuadDrawsItsColour)
{
    EngVertexBufferDX9 quad;
    ASSERT_TRUE(quad.Create(EVBT_POS_COL_2D));
    quad.SetPositions(100, 100, 50, 50);
    quad.SetColour(1.0f, 0.5f, 0.0f, 1.0f);
    BeginTestFrame(0, 0, 0);
    quad.Draw();
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(125, 125), 255, 128, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(160, 125), 0, 0, 0));
}

TEST_F(Quads, TriangleListChecksItsIndexAndColours)
{
    EngTriangleList list;
    ClearLogMark();
    EXPECT_FALSE(list.Create(ETLT_POS_COL, nullptr, 0));
    EXPECT_TRUE(LogHas("Invalid num triangles"));
    EXPECT_FALSE(list.Create((_EngTriangleListType)8, nullptr, 1));
    EXPECT_TRUE(LogHas("Invalid Type: 8"));
    ASSERT_TRUE(list.Create(ETLT_POS_COL, nullptr, 2));

    std::vector<unsigned char> before(list.GetVertexData(), list.GetVertexData() + 2 * 3 * list.GetStride());
    ClearLogMark();
    EXPECT_FALSE(list.SetPositions(2, 0, 0, 0, 1, 1, 0, 2, 2, 0));
    EXPECT_TRUE(LogHas("Invalid Triangle 2 (num=2)"));
    EXPECT_FALSE(list.SetTextureCoordinates_DX9(5, 0, 0, 0, 0, 0, 0));
    EXPECT_TRUE(LogHas("Invalid Triangle 5 (num=2)"));
    EXPECT_FALSE(list.SetColour(3, 1, 1, 1, 1));
    EXPECT_FALSE(list.SetColour(0, -0.5f, 1, 1, 1));
    EXPECT_TRUE(LogHas("Invalid values"));
    EXPECT_EQ(0, std::memcmp(before.data(), list.GetVertexData(), before.size()));

    // Bright values are clamped: red stays red instead of spilling into its neighbours.
    ASSERT_TRUE(list.SetColour(1, 3.0f, 0.0f, 0.0f, 1.0f));
    const unsigned char* colour = list.GetVertexData() + 3 * list.GetStride() + 12;
    EXPECT_EQ(255, colour[0]);
    EXPECT_EQ(0, colour[1]);
    EXPECT_EQ(255, colour[3]);

    // The virtual screen maps to clip space with y pointing down.
    ASSERT_TRUE(list.SetPositions(0, 0, 0, 0, 640, 480, 0, 320, 240, 0.5f));
    const float* p = (const float*)list.GetVertexData();
    EXPECT_FLOAT_EQ(-1.0f, p[0]);
    EXPECT_FLOAT_EQ(1.0f, p[1]);
    const float* q = (const float*)(list.GetVertexData() + list.GetStride());
    EXPECT_FLOAT_EQ(1.0f, q[0]);
    EXPECT_FLOAT_EQ(-1.0f, q[1]);
}

TEST_F(Quads, TriangleListDrawsItsTriangles)
{
    EngTriangleList list;
    ASSERT_TRUE(list.Create(ETLT_POS_COL, nullptr, 1));
    // Clockwise on screen: the front face.
    list.SetPositions(0, 100, 100, 0, 300, 100, 0, 100, 300, 0);
    list.SetColour(0, 0.0f, 1.0f, 1.0f, 1.0f);
    BeginTestFrame(0, 0, 0);
    EXPECT_TRUE(list.Draw());
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(130, 130), 0, 255, 255));
    EXPECT_TRUE(PixelNear(gl.Pixel(290, 290), 0, 0, 0));
}

class Dimming : public GLTestFixture, public ::testing::WithParamInterface<std::pair<float, int>> {};

TEST_P(Dimming, DarkensTheScreenByItsClampedAlpha)
{
    BeginTestFrame(1, 1, 1);
    EngDeviceDisableBlending();
    EngDimDraw(GetParam().first);
    bool on = true;
    EngDeviceGetBlendingState(&on, nullptr, nullptr);
    EXPECT_FALSE(on); // the blending state is put back
    EndTestFrame();
    const int expected = GetParam().second;
    EXPECT_TRUE(PixelNear(gl.Pixel(5, 5), expected, expected, expected, 2));
    EXPECT_TRUE(PixelNear(gl.Pixel(634, 474), expected, expected, expected, 2));
}

INSTANTIATE_TEST_SUITE_P(Alphas, Dimming,
                         ::testing::Values(std::make_pair(1.5f, 0), std::make_pair(-0.2f, 255),
                                           std::make_pair(0.5f, 127), std::make_pair(0.25f, 191)));

TEST(DimmingSize, FollowsTheScreenSize)
{
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(800, 600));
    BeginTestFrame(1, 1, 1);
    EngDimDraw(1.0f);
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(799, 599), 0, 0, 0));
    const float* corner = (const float*)(EngDimGetQuad_DX9()->GetVertexData() + 2 * 20);
    EXPECT_FLOAT_EQ(800.5f, corner[0]);
    EXPECT_FLOAT_EQ(600.5f, corner[1]);
}
