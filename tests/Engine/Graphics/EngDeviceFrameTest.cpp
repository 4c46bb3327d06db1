// What the device puts on screen: clearing, blending presets, 2D placement, crop, culling, lighting and the
// matrix stacks, read back from a real OpenGL frame.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include <unistd.h>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMath.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngMatrix.h"
#include "Support/GLTestContext.h"

namespace {

constexpr EngUInt32 kRed = 0xFFFF0000u;
constexpr EngUInt32 kGreen = 0xFF00FF00u;

using EngDeviceFrame = GLTestFixture;

float Factor(D3DBLEND factor, const float src[4], const float dest[4], int channel)
{
    switch (factor) {
    case D3DBLEND_ZERO: return 0.0f;
    case D3DBLEND_ONE: return 1.0f;
    case D3DBLEND_SRCCOLOR: return src[channel];
    case D3DBLEND_INVSRCCOLOR: return 1.0f - src[channel];
    case D3DBLEND_SRCALPHA: return src[3];
    case D3DBLEND_INVSRCALPHA: return 1.0f - src[3];
    case D3DBLEND_DESTCOLOR: return dest[channel];
    case D3DBLEND_INVDESTCOLOR: return 1.0f - dest[channel];
    case D3DBLEND_DESTALPHA: return dest[3];
    case D3DBLEND_INVDESTALPHA: return 1.0f - dest[3];
    default: return -100.0f;
    }
}

} // namespace

TEST_F(EngDeviceFrame, ClearColourFillsTheScreenAndIsClamped)
{
    ASSERT_TRUE(EngDeviceBeginRendering());
    EngDeviceSetClearColour(1.0f, 0.5f, 0.25f);
    EXPECT_TRUE(EngDeviceClearScreenAndZBuffer());
    EXPECT_TRUE(PixelNear(gl.Pixel(0, 0), 255, 127, 63));
    EXPECT_TRUE(PixelNear(gl.Pixel(639, 479), 255, 127, 63));
    // Out-of-range components must not wrap around into other channels.
    EngDeviceSetClearColour(1.5f, -0.25f, 0.5f);
    EXPECT_EQ(eng_device_dx9->GetClearColour(), 0xFF00007Fu | 0x00FF0000u);
    EXPECT_TRUE(EngDeviceClearScreen());
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 255, 0, 127));
    EngDeviceEndRendering();
}

TEST_F(EngDeviceFrame, EveryBlendingPresetMatchesItsFactors)
{
    const float background[4] = {51 / 255.0f, 102 / 255.0f, 153 / 255.0f, 1.0f};
    const float source[4] = {204 / 255.0f, 153 / 255.0f, 76 / 255.0f, 128 / 255.0f};
    const EngUInt32 source_argb = 0x80CC994Cu;
    for (int preset = 0; preset < ENG_BLEND_NUM_TYPES; preset++) {
        SCOPED_TRACE("preset " + std::to_string(preset));
        ASSERT_TRUE(BeginTestFrame(background[0], background[1], background[2]));
        EngDeviceEnableBlendingType(preset);
        GLTestContext::DrawVirtualQuad(100, 100, 200, 200, source_argb);
        EngDeviceDisableBlending();
        EndTestFrame();

        D3DBLEND src, dest;
        ASSERT_TRUE(EngRenderStateGetBlendingPreset(preset, &src, &dest));
        int expected[3];
        for (int c = 0; c < 3; c++) {
            const float value = source[c] * Factor(src, source, background, c) + background[c] * Factor(dest, source, background, c);
            expected[c] = (int)(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
        }
        EXPECT_TRUE(PixelNear(gl.Pixel(200, 200), expected[0], expected[1], expected[2]));
        EXPECT_TRUE(PixelNear(gl.Pixel(50, 50), 51, 102, 153)); // outside the quad
    }
}

TEST_F(EngDeviceFrame, InvalidPresetIsRefusedAndChangesNothing)
{
    EngDeviceEnableBlendingType(10);
    EngDeviceEnableBlendingType(19);
    EXPECT_TRUE(GLTestLogContains("Invalid Blending Type 19"));
    bool on = false;
    int src = 0, dest = 0;
    EXPECT_TRUE(EngDeviceGetBlendingState(&on, &src, &dest));
    EXPECT_EQ(src, D3DBLEND_ONE);
    EXPECT_EQ(dest, D3DBLEND_ONE);
}

TEST_F(EngDeviceFrame, BlendingSaveSlotHoldsOneState)
{
    EXPECT_FALSE(EngDeviceSaveOrRestoreBlendingState(false));
    EXPECT_TRUE(GLTestLogContains("Not saved"));
    EngDeviceEnableBlendingType(0);
    EXPECT_TRUE(EngDeviceSaveOrRestoreBlendingState(true));
    EXPECT_FALSE(EngDeviceSaveOrRestoreBlendingState(true));
    EXPECT_TRUE(GLTestLogContains("Already saved"));
    EngDeviceDisableBlending();
    EXPECT_TRUE(EngDeviceSaveOrRestoreBlendingState(false));
    int src = 0, dest = 0;
    EXPECT_TRUE(EngDeviceGetBlendingState(nullptr, &src, &dest));
    EXPECT_EQ(src, D3DBLEND_SRCALPHA);
    EXPECT_EQ(dest, D3DBLEND_INVSRCALPHA);
    EXPECT_FALSE(EngDeviceSaveOrRestoreBlendingState(false));
}

class EngDevicePlacement : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(EngDevicePlacement, VirtualQuadCoversTheScaledPixels)
{
    const int width = GetParam().first, height = GetParam().second;
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(width, height));
    ASSERT_EQ(eng_screen_width, width);
    ASSERT_EQ(eng_screen_height, height);
    ASSERT_TRUE(BeginTestFrame());
    GLTestContext::DrawVirtualQuad(100, 60, 200, 120, kRed);
    EndTestFrame();
    const int left = 100 * width / 640, right = 300 * width / 640;
    const int top = 60 * height / 480, bottom = 180 * height / 480;
    EXPECT_TRUE(RectFilled(gl, left, top, right, bottom, 255, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, EngDevicePlacement,
                         ::testing::Values(std::make_pair(640, 480), std::make_pair(800, 600), std::make_pair(1024, 768)));

TEST(EngDeviceFrameOtherSizes, CropLimitsDrawingUntilTurnedOff)
{
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(800, 600));
    ASSERT_TRUE(BeginTestFrame());
    EngDeviceTurnOnCrop(100, 100, 200, 100); // pixels 125..375 x 125..250 at this size
    EXPECT_TRUE(EngDeviceIsCropOn());
    GLTestContext::DrawVirtualQuad(0, 0, 640, 480, kRed);
    EngDeviceTurnOffCrop();
    EXPECT_FALSE(EngDeviceIsCropOn());
    EndTestFrame();
    EXPECT_TRUE(RectFilled(gl, 125, 125, 375, 250, 255, 0, 0));

    ASSERT_TRUE(BeginTestFrame());
    GLTestContext::DrawVirtualQuad(0, 0, 640, 480, kGreen);
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(10, 10), 0, 255, 0));
    EngDeviceTurnOffCrop();
    EXPECT_TRUE(GLTestLogContains("Crop is not on."));
}

TEST_F(EngDeviceFrame, CropInASmallerViewportIsScaledIntoIt)
{
    ASSERT_TRUE(EngDeviceBeginRendering());
    EngDeviceSetClearColour(0.0f, 0.0f, 0.0f);
    EngDeviceClearScreenAndZBuffer();
    const float half[4] = {320, 240, 320, 240}; // bottom-right quarter of the screen
    ASSERT_TRUE(EngDeviceSetViewportToRect(half));
    EXPECT_FALSE(EngDeviceIsViewportFullScreen());
    EngDevicePrepareFor2D(true);
    EngDeviceTurnOnCropInViewport(0, 0, 320, 240); // the viewport's top-left quarter: 320..480 x 240..360
    GLTestContext::DrawClipQuad(-1, 1, 1, -1, kRed);
    EngDeviceTurnOffCrop();
    EngDeviceRestoreAfter2D();
    EngDeviceSetViewportFullScreen();
    EngDeviceEndRendering();
    EXPECT_TRUE(RectFilled(gl, 320, 240, 480, 360, 255, 0, 0));
}

TEST_F(EngDeviceFrame, ClearOnlyTouchesTheViewport)
{
    ASSERT_TRUE(EngDeviceBeginRendering());
    EngDeviceSetClearColour(0.0f, 0.0f, 1.0f);
    EngDeviceClearScreen();
    const float part[4] = {0, 0, 100, 50};
    ASSERT_TRUE(EngDeviceSetViewportToRect(part));
    EngDeviceSetClearColour(1.0f, 0.0f, 0.0f);
    EngDeviceClearScreen();
    EngDeviceSetViewportFullScreen();
    EngDeviceEndRendering();
    EXPECT_TRUE(PixelNear(gl.Pixel(99, 49), 255, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(100, 10), 0, 0, 255));
    EXPECT_TRUE(PixelNear(gl.Pixel(10, 50), 0, 0, 255));
}

TEST_F(EngDeviceFrame, ClockwiseFacesShowAndOthersAreCulledUnlessTwoSided)
{
    ASSERT_TRUE(BeginTestFrame());
    GLTestContext::DrawClipQuad(-1, 1, 0, 0, kRed);  // clockwise: top-left quarter
    GLTestContext::DrawClipQuad(1, 1, 0, 0, kGreen); // mirrored, so counter-clockwise: top-right quarter
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(100, 100), 255, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(500, 100), 0, 0, 0));

    EngDeviceShowTwoSidedPolygons(true);
    EXPECT_TRUE(EngDeviceIsShowingTwoSidedPolygons());
    ASSERT_TRUE(BeginTestFrame());
    GLTestContext::DrawClipQuad(1, 1, 0, 0, kGreen);
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(500, 100), 0, 255, 0));
    EngDeviceShowTwoSidedPolygons(true);
    EXPECT_TRUE(GLTestLogContains("Flag already set to 1"));
}

TEST_F(EngDeviceFrame, LightingWithoutLightsShowsTheMaterialColour)
{
    ASSERT_TRUE(BeginTestFrame(0.0f, 0.0f, 0.0f, true));
    ASSERT_TRUE(EngDeviceIsLightingOn());
    D3DMATERIAL9 text_colour = {};
    text_colour.Diffuse = {0.0f, 0.8f, 0.4f, 1.0f};
    text_colour.Ambient = {0.0f, 0.8f, 0.4f, 1.0f};
    eng_d3d_device->SetMaterial(&text_colour);
    eng_d3d_device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
    GLTestContext::DrawVirtualQuad(0, 0, 320, 240, 0xFFFFFFFFu);
    eng_d3d_device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(100, 100), 0, 204, 102));
}

TEST_F(EngDeviceFrame, UntexturedDrawUsesTheVertexColour)
{
    ASSERT_TRUE(BeginTestFrame());
    EngDeviceTurnOffAlphaModulation();
    eng_device_dx9->SetNoTexture();
    GLTestContext::DrawVirtualQuad(0, 0, 320, 240, 0xFF336699u);
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(100, 100), 0x33, 0x66, 0x99));
}

TEST_F(EngDeviceFrame, NearerDepthWinsWithTheZBufferOn)
{
    ASSERT_TRUE(BeginTestFrame());
    EngDeviceAllowZBuffer(true); // 2D mode turned it off; depth 0..1 as given
    GLTestContext::DrawVirtualQuad(0, 0, 320, 240, kRed, 0.25f);
    GLTestContext::DrawVirtualQuad(0, 0, 320, 240, kGreen, 0.75f);
    GLTestContext::DrawVirtualQuad(320, 0, 320, 240, kGreen, 0.75f);
    GLTestContext::DrawVirtualQuad(320, 0, 320, 240, kRed, 0.25f);
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(100, 100), 255, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(500, 100), 255, 0, 0));
}

TEST_F(EngDeviceFrame, TransformStackPopRestoresThePushedMatrix)
{
    ASSERT_TRUE(BeginTestFrame());
    float moved[16];
    EngMatrixTranslation(moved, 1.0f, 0.0f, 0.0f); // half a screen to the right
    EngDeviceSetTransformMatrixToDxMatrix(moved);
    EngDevicePushTransformMatrix();
    EngDeviceSetTransformMatrixToDefault();
    GLTestContext::DrawClipQuad(-1, 1, -0.5f, 0.5f, kGreen); // drawn where it says
    EngDevicePopTransformMatrix();
    GLTestContext::DrawClipQuad(-1, 1, -0.5f, 0.5f, kRed); // moved right by the restored matrix
    EngMatrix4 back;
    ASSERT_TRUE(EngDeviceGetTransformMatrix(&back));
    float values[16];
    back.CopyTo(values);
    EXPECT_EQ(values[12], 1.0f);
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(50, 50), 0, 255, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(370, 50), 255, 0, 0));
}

TEST_F(EngDeviceFrame, EleventhPushIsRefusedAndOnlyTenLevelsRestore)
{
    EngDeviceDX9 *device = eng_device_dx9;
    float m[16];
    for (int level = 0; level < 11; level++) {
        EngMatrixTranslation(m, (float)level, 0.0f, 0.0f);
        device->SetTransformMatrixToDxMatrix(m);
        device->PushAllMatrices();
    }
    EXPECT_EQ(GLTestLogCount("Too many pushes"), 1);
    EXPECT_EQ(device->GetAllMatricesLevel(), ENG_DEVICE_MATRIX_STACK_SIZE);
    for (int level = 9; level >= 0; level--) {
        device->PopAllMatrices();
        device->GetTransformMatrixToDxMatrix(m);
        EXPECT_EQ(m[12], (float)level);
    }
    device->PopAllMatrices();
    EXPECT_TRUE(GLTestLogContains("Not pushed"));
    EXPECT_EQ(device->GetAllMatricesLevel(), 0);
}

TEST_F(EngDeviceFrame, RestoreAfter2DPutsLightingBackAsItWas)
{
    EngDeviceTurnOnLighting();
    EngDevicePrepareFor2D(false);
    EXPECT_TRUE(EngDeviceIsLightingOn());
    EngDeviceRestoreAfter2D();
    EXPECT_TRUE(EngDeviceIsLightingOn());

    EngDevicePrepareFor2D(true);
    EXPECT_FALSE(EngDeviceIsLightingOn());
    EngDeviceRestoreAfter2D();
    EXPECT_TRUE(EngDeviceIsLightingOn());

    EngDeviceTurnOffLighting();
    EngDevicePrepareFor2D(true);
    EngDeviceRestoreAfter2D();
    EXPECT_FALSE(EngDeviceIsLightingOn());

    EngDeviceRestoreAfter2D();
    EXPECT_TRUE(GLTestLogContains("Not prepared"));
    EXPECT_TRUE(EngDevicePrepareFor2DIfNeeded(true));
    EXPECT_FALSE(EngDeviceMakeSureIsPreparedFor2D());
    EngDevicePrepareFor2D(true);
    EXPECT_TRUE(GLTestLogContains("Already Called"));
}

TEST_F(EngDeviceFrame, RenderingCallsPairUp)
{
    EngDeviceEndRendering();
    EXPECT_TRUE(GLTestLogContains("Not rendering"));
    EXPECT_TRUE(EngDeviceBeginRenderingIfNeeded());
    EXPECT_FALSE(EngDeviceBeginRenderingIfNeeded());
    EXPECT_TRUE(EngDeviceBeginRendering());
    EXPECT_TRUE(GLTestLogContains("Already rendering"));
    EngDeviceEndRendering();
    EngDeviceSwapBuffers();
    EXPECT_FALSE(eng_device_dx9->IsRendering());
}

TEST_F(EngDeviceFrame, InvertedCropDrawsNothing)
{
    ASSERT_TRUE(BeginTestFrame());
    EngDeviceTurnOnCrop(300, 200, -100, -50); // a negative size must not be handed on as one
    GLTestContext::DrawVirtualQuad(0, 0, 640, 480, kRed);
    EngDeviceTurnOffCrop();
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(250, 180), 0, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 0, 0, 0));
}

TEST_F(EngDeviceFrame, RepeatedPresetSendsTheFactorsOnce)
{
    EngDeviceDisableBlending();
    const EngUInt32 src_sends = eng_d3d_device->GetRenderStateSendCount(D3DRS_SRCBLEND);
    const EngUInt32 enable_sends = eng_d3d_device->GetRenderStateSendCount(D3DRS_ALPHABLENDENABLE);
    EngDeviceEnableBlendingType(0);
    EngDeviceEnableBlendingType(0);
    EXPECT_EQ(eng_d3d_device->GetRenderStateSendCount(D3DRS_SRCBLEND) - src_sends, 1u);
    EXPECT_EQ(eng_d3d_device->GetRenderStateSendCount(D3DRS_ALPHABLENDENABLE) - enable_sends, 1u);
    EngDeviceEnableBlendingType(7); // same destination factor: only the source is sent
    EXPECT_EQ(eng_d3d_device->GetRenderStateSendCount(D3DRS_SRCBLEND) - src_sends, 2u);
    EXPECT_EQ(eng_d3d_device->GetRenderState(D3DRS_DESTBLEND), (EngUInt32)D3DBLEND_INVSRCALPHA);
}

namespace {

// A texture of 2 x 1 texels, left black and right white, with one alpha for both.
unsigned int MakeTwoTexelTexture(unsigned char alpha)
{
    const unsigned char texels[8] = {0, 0, 0, alpha, 255, 255, 255, alpha};
    unsigned int texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    return texture;
}

void DrawTexturedScreen(unsigned int texture, EngUInt32 argb)
{
    eng_device_dx9->SetTexture(texture);
    glColor4ub((GLubyte)(argb >> 16), (GLubyte)(argb >> 8), (GLubyte)argb, (GLubyte)(argb >> 24));
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 1);
    glVertex3f(-1, -1, 0.5f);
    glTexCoord2f(0, 0);
    glVertex3f(-1, 1, 0.5f);
    glTexCoord2f(1, 1);
    glVertex3f(1, -1, 0.5f);
    glTexCoord2f(1, 0);
    glVertex3f(1, 1, 0.5f);
    glEnd();
    eng_device_dx9->SetNoTexture();
}

} // namespace

TEST_F(EngDeviceFrame, TextureQualityChoosesPointOrLinearSampling)
{
    const unsigned int texture = MakeTwoTexelTexture(255);
    eng_device_dx9->SetTextureQuality(0);
    ASSERT_TRUE(BeginTestFrame());
    DrawTexturedScreen(texture, 0xFFFFFFFFu);
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(300, 240), 0, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(340, 240), 255, 255, 255));

    eng_device_dx9->SetTextureQuality(1);
    ASSERT_TRUE(BeginTestFrame());
    DrawTexturedScreen(texture, 0xFFFFFFFFu);
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 128, 128, 128, 4)); // halfway between the two texels
    glDeleteTextures(1, &texture);
}

TEST_F(EngDeviceFrame, AlphaModulationMultipliesVertexAndTextureAlpha)
{
    const unsigned int texture = MakeTwoTexelTexture(128);
    eng_device_dx9->SetTextureQuality(0);
    ASSERT_TRUE(BeginTestFrame());
    EngDeviceEnableBlendingType(0);
    EngDeviceTurnOnAlphaModulation();
    DrawTexturedScreen(texture, 0x80FFFFFFu); // alpha 0.5 x 0.5 over black
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(500, 240), 64, 64, 64));

    ASSERT_TRUE(BeginTestFrame());
    EngDeviceTurnOffAlphaModulation();
    DrawTexturedScreen(texture, 0x80FFFFFFu); // 0.5 x 0.5 + 0.5 x (1 - 0.5)
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(500, 240), 128, 128, 128));
    glDeleteTextures(1, &texture);
}

TEST(EngDeviceFrameOtherSizes, FrameCanBeSavedAsAPicture)
{
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(320, 200));
    ASSERT_TRUE(EngDeviceBeginRendering());
    EngDeviceSetClearColour(0.0f, 1.0f, 0.0f);
    EngDeviceClearScreen();
    EngDeviceEndRendering();
    const std::string path = "frame-test-" + std::to_string((long)getpid()) + ".png";
    ASSERT_TRUE(gl.SavePNG(path.c_str()));
    FILE *file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char header[24] = {};
    EXPECT_EQ(fread(header, 1, sizeof(header), file), sizeof(header));
    fclose(file);
    remove(path.c_str());
    EXPECT_EQ(memcmp(header + 1, "PNG", 3), 0);
    EXPECT_EQ((header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19], 320); // IHDR width
    EXPECT_EQ((header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23], 200);
    std::vector<unsigned char> rgba;
    ASSERT_TRUE(gl.ReadPixelsRGBA(0, 0, 1, 1, &rgba));
    EXPECT_EQ(rgba[0], 0);
    EXPECT_EQ(rgba[1], 255);
    EXPECT_EQ(rgba[3], 255); // the back buffer has no alpha of its own: it reads opaque
}
