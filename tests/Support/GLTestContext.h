#pragma once
// A real main window and graphics device for pixel tests, made through the engine's own creation path
// (EngProgram::CreateMainWindow, then EngProgram::CreateMainGraphicsDevice), with SDL_VIDEODRIVER=offscreen.
// Only one per process: the engine allows one application object.
//
//   GLTestContext gl;
//   ASSERT_TRUE(gl.Open(800, 600));
//   EngDeviceBeginRendering(); ... draw ...; EngDeviceEndRendering();
//   EXPECT_NEAR(GLTestContext::Red(gl.Pixel(10, 10)), 255, 2);
//
// Pixel coordinates are in window pixels, top row 0, as Direct3D counts them.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngTypes.h"

// The application object of a test: it records the name of each callback as it is called, and may be told to
// fail one of them.
class GLTestProgram : public EngProgram {
public:
    std::vector<std::string> calls;
    std::string fail_callback; // a callback of this name answers 0 / false

    signed char PreCreateWindowCB(_EngCreateWindowParms *parms) override;
    signed char PreDeviceInitCB() override;
    signed char PostDeviceInitCB() override;
    signed char PreCreateGraphicsObjectsCB() override;
    bool CreateGraphicsObjectsCB() override;
    signed char PostCreateGraphicsObjectsCB() override;
    void PreDestroyGraphicsObjectsCB() override;
    void DestroyGraphicsObjectsCB() override;
    void PostDestroyGraphicsObjectsCB() override;
    void GraphicsReadyCB() override;
    void PreCloseWindowCB() override;
    void PostCloseWindowCB() override;

    // The calls recorded since the last ClearCalls, joined with ", ".
    std::string CallList() const;
    void ClearCalls() { calls.clear(); }

private:
    signed char Record(const char *name);
};

class GLTestContext {
public:
    GLTestContext() = default;
    ~GLTestContext();
    GLTestContext(const GLTestContext &) = delete;
    GLTestContext &operator=(const GLTestContext &) = delete;

    // Starts SDL video, makes the program, a window of that client size and the device. The multisample
    // pair is the window's anti-aliasing setting.
    bool Open(int width = 640, int height = 480, int multisample_type = 0, int multisample_quality = 0);
    // Closes the window (device released) and deletes the program.
    void Close();
    bool IsOpen() const { return program != nullptr; }
    GLTestProgram *GetProgram() const { return program; }

    // Reads the frame as it would be presented: w x h pixels, top row first, 4 bytes each.
    bool ReadPixelsBGRA(int x, int y, int w, int h, std::vector<unsigned char> *out) const;
    bool ReadPixelsRGBA(int x, int y, int w, int h, std::vector<unsigned char> *out) const;
    // One pixel as 0xAARRGGBB (0 when it cannot be read).
    EngUInt32 Pixel(int x, int y) const;
    // The whole frame as a PNG file, for looking at a failing test.
    bool SavePNG(const char *path) const;

    // Draws an untextured quad with the vertex colour argb (0xAARRGGBB), clockwise on screen, through the
    // device's current matrices: in 2D mode (EngDevicePrepareFor2D) x and y are clip-space values -1..1.
    static void DrawClipQuad(float left, float top, float right, float bottom, EngUInt32 argb, float z = 0.5f);
    // The same for a rectangle of the 640 x 480 virtual screen, in 2D mode.
    static void DrawVirtualQuad(float x, float y, float w, float h, EngUInt32 argb, float z = 0.5f);

    static int Red(EngUInt32 argb) { return (int)((argb >> 16) & 0xFF); }
    static int Green(EngUInt32 argb) { return (int)((argb >> 8) & 0xFF); }
    static int Blue(EngUInt32 argb) { return (int)(argb & 0xFF); }
    static int Alpha(EngUInt32 argb) { return (int)(argb >> 24); }

private:
    GLTestProgram *program = nullptr;
    bool sdl_started = false;
};

// A fixture with an open 640 x 480 context.
class GLTestFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    GLTestContext gl;
};

// A frame begun and cleared to a colour, the device prepared for 2D (lighting off unless kept); false when
// rendering could not begin.
bool BeginTestFrame(float r = 0.0f, float g = 0.0f, float b = 0.0f, bool keep_lighting = false);
void EndTestFrame();

// How many messages of the debug log hold the text.
int GLTestLogCount(const char *text);
inline bool GLTestLogContains(const char *text)
{
    return GLTestLogCount(text) > 0;
}

// Expects the pixel's colour within tolerance of (r, g, b).
::testing::AssertionResult PixelNear(EngUInt32 argb, int r, int g, int b, int tolerance = 2);
// Expects the window pixels left..right-1 x top..bottom-1 of (r, g, b) at two opposite corners, and black just
// outside them on every side.
::testing::AssertionResult RectFilled(const GLTestContext &gl, int left, int top, int right, int bottom, int r, int g,
                                      int b);
