// Draws collected into batches: the order, crop and matrices of each draw kept, and how many draw calls a
// frame of quads and text takes. The same frames kept to be drawn at the present show the same pixels, and a
// frame that repeats the one on screen is not drawn again.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/DX9/EngTextureDX9.h"
#include "Engine/Graphics/DX9/EngVertexBufferDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngDim.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/Graphics/EngVertexBuffer.h"
#include "GraphicsTestUtil.h"
#include "Support/GLTestContext.h"
#include "Support/GameFontForTests.h"

namespace {

struct Rgb {
    int r, g, b;
};

bool LoadSolid(EngTexture* texture, const char* name, Rgb c)
{
    const std::string path = WriteSolidPicture(name, "png", 4, 4, (unsigned char)c.r, (unsigned char)c.g,
                                               (unsigned char)c.b, 255);
    return texture->LoadFromFile(path.c_str(), false, ETAT_OPAQUE);
}

// Draws a texture over a rectangle of the 640 x 480 virtual screen.
void DrawAt(EngTexture* texture, float x, float y, float w, float h)
{
    texture->PositionRatioed(x, y, w, h);
    texture->Draw();
}

int DrawCalls()
{
    return eng_d3d_device->GetDrawCallCount();
}

const Rgb kRed = {255, 0, 0};
const Rgb kGreen = {0, 255, 0};
const Rgb kBlue = {0, 0, 255};
const Rgb kBlack = {0, 0, 0};

struct Probe {
    int x, y;
    Rgb expected;
};

void ExpectPixels(const GLTestContext& gl, std::initializer_list<Probe> probes)
{
    for (const Probe& p : probes)
        EXPECT_TRUE(PixelNear(gl.Pixel(p.x, p.y), p.expected.r, p.expected.g, p.expected.b)) << p.x << "," << p.y;
}

} // namespace

class DrawBatch : public GLTestFixture {
protected:
    void SetUp() override
    {
        GLTestFixture::SetUp();
        ASSERT_TRUE(LoadSolid(&red, "batch-red.png", kRed));
        ASSERT_TRUE(LoadSolid(&green, "batch-green.png", kGreen));
        ASSERT_TRUE(LoadSolid(&blue, "batch-blue.png", kBlue));
    }
    EngTexture red, green, blue;
};

// Each frame drawn at once, or kept and drawn when its pixels are needed (as the program draws).
class DrawBatchFrames : public DrawBatch, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        DrawBatch::SetUp();
        EngDeviceSkipRepeatedFrames(GetParam());
    }
    void TearDown() override
    {
        EngDeviceSkipRepeatedFrames(false);
        DrawBatch::TearDown();
    }
};

INSTANTIATE_TEST_SUITE_P(AtOnceAndKept, DrawBatchFrames, ::testing::Bool());

TEST_P(DrawBatchFrames, OverlappingQuadsOfDifferentTexturesKeepTheirOrder)
{
    BeginTestFrame(0, 0, 0);
    DrawAt(&red, 0, 0, 400, 300);
    DrawAt(&green, 100, 100, 400, 300);
    DrawAt(&red, 200, 200, 400, 280); // red again over green: must not join the first red draw
    DrawAt(&blue, 300, 0, 100, 480);
    EndTestFrame();
    ExpectPixels(gl, {
                         {50, 50, kRed},     // red alone
                         {150, 150, kGreen}, // green over the first red
                         {250, 250, kRed},   // the second red over green
                         {450, 150, kGreen}, // green alone
                         {350, 250, kBlue},  // blue over all
                         {600, 20, kBlack},  // nothing
                     });
}

TEST_P(DrawBatchFrames, CropChangeAppliesOnlyToTheDrawsAfterIt)
{
    BeginTestFrame(0, 0, 0);
    EngDeviceTurnOnCrop(0, 0, 320, 480);
    DrawAt(&red, 0, 0, 640, 240);
    EngDeviceTurnOnCrop(320, 0, 320, 480);
    DrawAt(&red, 0, 240, 640, 240); // same texture and states: only the crop tells the draws apart
    EngDeviceTurnOffCrop();
    DrawAt(&green, 300, 230, 40, 20);
    EndTestFrame();
    ExpectPixels(gl, {
                         {100, 100, kRed},
                         {500, 100, kBlack},
                         {100, 400, kBlack},
                         {500, 400, kRed},
                         {320, 240, kGreen}, // drawn after the crop was turned off
                     });
}

TEST_P(DrawBatchFrames, SecondSceneBeforeThePresentStartsFromTheFirstOnesStates)
{
    EngTexture quad;
    ASSERT_TRUE(LoadSolid(&quad, "batch-scenes.png", kBlue));
    quad.PositionPure(-1.0f, -1.0f, 1.0f, 1.0f); // the top-left quarter
    const float right_down[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, -1, 0, 1};
    BeginTestFrame(0, 0, 0);
    EngDeviceShowTwoSidedPolygons(true);
    EngDeviceSetTransformMatrixToDxMatrix(right_down);
    quad.Draw();
    EngDeviceEndRendering(); // the matrix stays for the next scene
    EngDeviceBeginRendering();
    quad.Draw();
    EngDeviceSetTransformMatrixToDxMatrix(nullptr);
    EngDeviceShowTwoSidedPolygons(false);
    EngDeviceRestoreAfter2D();
    EngDeviceEndRendering();
    ExpectPixels(gl, {{480, 360, kBlue}, {160, 120, kBlack}, {480, 120, kBlack}, {160, 360, kBlack}});
}

TEST_P(DrawBatchFrames, TexturePixelsChangedBetweenDrawsShowOnlyInTheLaterOne)
{
    BeginTestFrame(0, 0, 0);
    DrawAt(&red, 0, 0, 320, 480);
    EngTextureDX9* dx9 = red.GetDX9();
    int pitch = 0;
    unsigned char* bits = dx9->LockRect(&pitch);
    ASSERT_NE(bits, nullptr);
    for (int y = 0; y < dx9->GetHeight(); ++y)
        for (int x = 0; x < dx9->GetWidth(); ++x)
            std::memcpy(bits + y * pitch + x * 4, "\0\xFF\0\xFF", 4); // B, G, R, A: green
    ASSERT_TRUE(dx9->UnlockRect());
    DrawAt(&red, 320, 0, 320, 480);
    EndTestFrame();
    ExpectPixels(gl, {{100, 240, kRed}, {500, 240, kGreen}});
}

TEST_P(DrawBatchFrames, MatrixChangeAppliesOnlyToTheDrawsAfterIt)
{
    // A 3D quad of one texture twice, moved by the world matrix in between.
    EngTexture quad;
    ASSERT_TRUE(LoadSolid(&quad, "batch-quad.png", kBlue));
    quad.PositionPure(-1.0f, -1.0f, 1.0f, 1.0f); // clip-space square from (-1, 1) to (0, 0): the top-left quarter
    BeginTestFrame(0, 0, 0);
    EngDeviceShowTwoSidedPolygons(true);
    quad.Draw();
    const float right_down[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, -1, 0, 1};
    EngDeviceSetTransformMatrixToDxMatrix(right_down);
    quad.Draw();
    EngDeviceSetTransformMatrixToDxMatrix(nullptr);
    EngDeviceShowTwoSidedPolygons(false);
    EndTestFrame();
    ExpectPixels(gl, {{160, 120, kBlue}, {480, 360, kBlue}, {480, 120, kBlack}, {160, 360, kBlack}});
}

TEST_F(DrawBatch, FrameTakesOneDrawPerRunOfSharedTextureAndState)
{
    EngFont font;
    ASSERT_TRUE(CreateGameFontForTests(&font));
    ASSERT_GE(font.GetNumSheets(), 2) << "the game's font spreads over sheets: strings still take one draw";
    const char* text = "Torvi Torvi 1:23.456 LAP 3/5 - CHAMPIONSHIP";

    BeginTestFrame(0, 0, 0);
    int before = DrawCalls();
    for (int i = 0; i < 300; ++i)
        DrawAt(&red, (float)(i % 20) * 32.0f, (float)(i / 20) * 32.0f, 30.0f, 30.0f);
    DrawAt(&green, 0, 0, 10, 10);
    DrawAt(&red, 20, 0, 10, 10);
    EngDeviceEndRendering(); // the end of the scene draws what is collected
    EXPECT_EQ(DrawCalls() - before, 3) << "300 red quads, one green, one red";
    EngDeviceBeginRendering();

    EngFontPrepareForDrawing(EFDM_VIRTUAL);
    before = DrawCalls();
    for (int line = 0; line < 10; ++line)
        font.DrawStringPart(4.0f, 40.0f + (float)line * 40.0f, text, 0, 0.0f);
    EngFontRestoreAfterDrawing();
    EXPECT_EQ(DrawCalls() - before, 1) << "ten strings of one colour";

    // A shadow and its text in two colours, as the toolkit draws them.
    EngFontPrepareForDrawing(EFDM_VIRTUAL);
    before = DrawCalls();
    font.SetColour(0.0f, 0.0f, 0.0f, 1.0f);
    font.DrawStringPart(6.0f, 442.0f, text, 0, 0.0f);
    font.SetColour(1.0f, 1.0f, 0.0f, 1.0f);
    font.DrawStringPart(4.0f, 440.0f, text, 0, 0.0f);
    EngFontRestoreAfterDrawing();
    EXPECT_EQ(DrawCalls() - before, 2);
    EndTestFrame();
}

TEST_P(DrawBatchFrames, StringMatchesItsGlyphsDrawnFromTheirOwnSheets)
{
    EngFont font;
    ASSERT_TRUE(CreateGameFontForTests(&font));
    const char* text = "Wo";
    ASSERT_NE(font.GetCharSheet('W'), font.GetCharSheet('o')) << "the two glyphs lie on different sheets";
    const float x = 100.0f;
    const float y = 100.0f;
    const float scale = 3.0f;
    ASSERT_TRUE(font.SetScale(scale, scale));
    std::vector<unsigned char> whole;
    BeginTestFrame(0, 0, 0);
    EngFontPrepareForDrawing(EFDM_VIRTUAL);
    font.DrawStringPart(x, y, text, 0, 0.0f);
    EngFontRestoreAfterDrawing();
    EndTestFrame();
    ASSERT_TRUE(gl.ReadPixelsRGBA(0, 0, 640, 480, &whole));

    // Each glyph's own quad on its own sheet, placed by the world matrix.
    BeginTestFrame(0, 0, 0);
    EngFontPrepareForDrawing(EFDM_VIRTUAL);
    float advance = 0.0f;
    for (const char* p = text; *p; ++p) {
        const unsigned char c = (unsigned char)*p;
        const float* offset = font.GetCharOffset(c);
        const float world[16] = {scale, 0, 0, 0, 0, scale, 0, 0, 0, 0, 1, 0, (advance + offset[0]) * scale + x,
                                 offset[1] * scale + 480.0f - y, 0, 1};
        EngDeviceSetTransformMatrixToDxMatrix(world);
        const_cast<EngVertexBufferDX9*>(font.GetCharQuad(c))->Draw();
        advance += offset[2];
    }
    EngDeviceSetTransformMatrixToDxMatrix(nullptr);
    EngFontRestoreAfterDrawing();
    EndTestFrame();
    std::vector<unsigned char> parts;
    ASSERT_TRUE(gl.ReadPixelsRGBA(0, 0, 640, 480, &parts));
    int lit = 0;
    int differing = 0;
    for (size_t i = 0; i < whole.size(); i += 4) {
        lit += whole[i] > 40;
        differing += std::abs(whole[i] - parts[i]) > 2 || std::abs(whole[i + 3] - parts[i + 3]) > 2;
    }
    EXPECT_GT(lit, 400);
    EXPECT_EQ(differing, 0);
}

// Frames of one red quad, presented one after another; what happens before each and whether it reaches the GL.
TEST_F(DrawBatch, RepeatedFrameIsDrawnOnlyWhenSomethingBehindItChanged)
{
    EngTextureDX9* dx9 = red.GetDX9();
    auto paint_red_green = [dx9] {
        int pitch = 0;
        unsigned char* bits = dx9->LockRect(&pitch);
        ASSERT_NE(bits, nullptr);
        std::memcpy(bits, "\0\xFF\0\xFF", 4);
        ASSERT_TRUE(dx9->UnlockRect());
    };
    struct Step {
        const char* what;
        std::function<void()> before;
        float x;          // where the quad goes
        bool read_midway; // the frame's pixels are read before its end
        bool drawn;
    };
    const std::function<void()> nothing = [] {};
    const Step steps[] = {
        {"the first frame", nothing, 0, false, true},
        {"the same again", nothing, 0, false, false},
        {"and again", nothing, 0, false, false},
        {"the quad moved", nothing, 100, false, true},
        {"the moved quad again", nothing, 100, false, false},
        {"the window's pixels lost", [] { EngDeviceRedrawNextFrame(); }, 100, false, true},
        {"after the redraw", nothing, 100, false, false},
        {"the texture's pixels changed", paint_red_green, 100, false, true},
        {"after the change", nothing, 100, false, false},
        {"a state set before the scene", [] { eng_device_dx9->SetTextureQuality(0); }, 100, false, true},
        {"the same state kept", nothing, 100, false, false},
        {"a frame read midway", nothing, 100, true, true},
        {"the frame after a partial one", nothing, 100, false, true},
        {"and the one after", nothing, 100, false, false},
    };
    EngDeviceSkipRepeatedFrames(true);
    for (const Step& step : steps) {
        step.before();
        const int before = DrawCalls();
        BeginTestFrame(0, 0, 0);
        DrawAt(&red, step.x, 0, 200, 200);
        if (step.read_midway) {
            EXPECT_TRUE(PixelNear(gl.Pixel((int)step.x + 100, 100), 255, 0, 0)) << step.what;
        }
        EndTestFrame();
        EngDeviceSwapBuffers();
        EXPECT_EQ(DrawCalls() > before, step.drawn) << step.what;
    }
    EngDeviceSkipRepeatedFrames(false);
    eng_device_dx9->SetTextureQuality(1);
}

// Pre-transformed quads (screen pixels) are never lit, whatever the lighting switch says.
class PreTransformedLighting : public GLTestFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(PreTransformedLighting, QuadsKeepTheirVertexColour)
{
    const bool lighting = GetParam();
    EngVertexBufferDX9 quad;
    ASSERT_TRUE(quad.Create(EVBT_POS_COL_2D));
    quad.SetPositions(0, 0, 320, 240);
    quad.SetColour(1.0f, 0.0f, 0.0f, 1.0f);
    EngDeviceSetClearColour(0.0f, 0.0f, 1.0f);
    EngDeviceBeginRendering();
    EngDeviceClearScreenAndZBuffer();
    EngDevicePrepareFor2D(!lighting);
    ASSERT_EQ(EngDeviceIsLightingOn(), lighting);
    quad.Draw();
    EngDimDraw(0.5f); // the screen fade: half black over everything
    EngDeviceRestoreAfter2D();
    EngDeviceEndRendering();
    EXPECT_TRUE(PixelNear(gl.Pixel(100, 100), 128, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(500, 400), 0, 0, 128));
}

INSTANTIATE_TEST_SUITE_P(LightingOnAndOff, PreTransformedLighting, ::testing::Bool());
