#include "Support/GLTestContext.h"

#include <GL/gl.h>
#include <SDL2/SDL.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
// GCC 12 sees the encoder's growing buffer, inlined here, as a write past its end: a false alarm.
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#include <stb_image_write.h>

#include <cstdlib>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Support/LogForTests.h"

#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/EngDevice.h"

signed char GLTestProgram::Record(const char *name)
{
    calls.push_back(name);
    return fail_callback == name ? 0 : 1;
}

signed char GLTestProgram::PreCreateWindowCB(_EngCreateWindowParms *)
{
    return Record("PreCreateWindowCB");
}

signed char GLTestProgram::PreDeviceInitCB()
{
    return Record("PreDeviceInitCB");
}

signed char GLTestProgram::PostDeviceInitCB()
{
    return Record("PostDeviceInitCB");
}

signed char GLTestProgram::PreCreateGraphicsObjectsCB()
{
    return Record("PreCreateGraphicsObjectsCB");
}

bool GLTestProgram::CreateGraphicsObjectsCB()
{
    return Record("CreateGraphicsObjectsCB") == 1;
}

signed char GLTestProgram::PostCreateGraphicsObjectsCB()
{
    return Record("PostCreateGraphicsObjectsCB");
}

void GLTestProgram::PreDestroyGraphicsObjectsCB()
{
    Record("PreDestroyGraphicsObjectsCB");
}

void GLTestProgram::DestroyGraphicsObjectsCB()
{
    Record("DestroyGraphicsObjectsCB");
}

void GLTestProgram::PostDestroyGraphicsObjectsCB()
{
    Record("PostDestroyGraphicsObjectsCB");
}

void GLTestProgram::GraphicsReadyCB()
{
    Record("GraphicsReadyCB");
}

void GLTestProgram::PreCloseWindowCB()
{
    Record("PreCloseWindowCB");
}

void GLTestProgram::PostCloseWindowCB()
{
    Record("PostCloseWindowCB");
}

std::string GLTestProgram::CallList() const
{
    std::string list;
    for (const std::string &call : calls) {
        if (!list.empty())
            list += ", ";
        list += call;
    }
    return list;
}

GLTestContext::~GLTestContext()
{
    Close();
}

bool GLTestContext::Open(int width, int height, int multisample_type, int multisample_quality)
{
    Close();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return false;
        sdl_started = true;
    }
    program = new GLTestProgram;
    _EngCreateWindowParms parms;
    parms.x = 0;
    parms.y = 0;
    parms.width = width;
    parms.height = height;
    parms.windowed = 1;
    parms.multisample_type = multisample_type;
    parms.multisample_quality = multisample_quality;
    if (program->CreateMainWindow("Torvi Torvi test", "TorviTestClass", &parms) != 1 || !program->CreateMainGraphicsDevice()) {
        Close();
        return false;
    }
    return true;
}

void GLTestContext::Close()
{
    delete program;
    program = nullptr;
    if (sdl_started) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        sdl_started = false;
    }
}

bool GLTestContext::ReadPixelsBGRA(int x, int y, int w, int h, std::vector<unsigned char> *out) const
{
    if (!out || !eng_device_dx9 || w < 1 || h < 1)
        return false;
    out->assign((size_t)w * (size_t)h * 4, 0);
    return eng_device_dx9->ReadBackBufferPixels(x, y, w, h, out->data());
}

bool GLTestContext::ReadPixelsRGBA(int x, int y, int w, int h, std::vector<unsigned char> *out) const
{
    if (!ReadPixelsBGRA(x, y, w, h, out))
        return false;
    for (size_t i = 0; i + 3 < out->size(); i += 4)
        std::swap((*out)[i], (*out)[i + 2]);
    return true;
}

EngUInt32 GLTestContext::Pixel(int x, int y) const
{
    std::vector<unsigned char> bgra;
    if (!ReadPixelsBGRA(x, y, 1, 1, &bgra))
        return 0;
    return ((EngUInt32)bgra[3] << 24) | ((EngUInt32)bgra[2] << 16) | ((EngUInt32)bgra[1] << 8) | bgra[0];
}

bool GLTestContext::SavePNG(const char *path) const
{
    const D3DSURFACE_DESC *desc = eng_device_dx9 ? eng_device_dx9->GetBackBufferDesc() : nullptr;
    if (!path || !desc)
        return false;
    std::vector<unsigned char> rgba;
    if (!ReadPixelsRGBA(0, 0, (int)desc->Width, (int)desc->Height, &rgba))
        return false;
    return stbi_write_png(path, (int)desc->Width, (int)desc->Height, 4, rgba.data(), (int)desc->Width * 4) != 0;
}

void GLTestContext::DrawClipQuad(float left, float top, float right, float bottom, EngUInt32 argb, float z)
{
    glColor4ub((GLubyte)(argb >> 16), (GLubyte)(argb >> 8), (GLubyte)argb, (GLubyte)(argb >> 24));
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3f(left, bottom, z);
    glVertex3f(left, top, z);
    glVertex3f(right, bottom, z);
    glVertex3f(right, top, z);
    glEnd();
}

void GLTestContext::DrawVirtualQuad(float x, float y, float w, float h, EngUInt32 argb, float z)
{
    DrawClipQuad(x / 320.0f - 1.0f, 1.0f - y / 240.0f, (x + w) / 320.0f - 1.0f, 1.0f - (y + h) / 240.0f, argb, z);
}

bool BeginTestFrame(float r, float g, float b, bool keep_lighting)
{
    EngDeviceSetClearColour(r, g, b);
    if (!EngDeviceBeginRendering())
        return false;
    EngDeviceClearScreenAndZBuffer();
    EngDevicePrepareFor2D(!keep_lighting);
    return true;
}

void EndTestFrame()
{
    EngDeviceRestoreAfter2D();
    EngDeviceEndRendering();
}

void GLTestFixture::SetUp()
{
    ASSERT_TRUE(gl.Open(640, 480));
}

void GLTestFixture::TearDown()
{
    gl.Close();
}

int GLTestLogCount(const char *text)
{
    return LogCountSince(0, text);
}

::testing::AssertionResult PixelNear(EngUInt32 argb, int r, int g, int b, int tolerance)
{
    const int got[3] = {GLTestContext::Red(argb), GLTestContext::Green(argb), GLTestContext::Blue(argb)};
    const int want[3] = {r, g, b};
    for (int i = 0; i < 3; i++) {
        if (abs(got[i] - want[i]) > tolerance)
            return ::testing::AssertionFailure() << "pixel (" << got[0] << ", " << got[1] << ", " << got[2]
                                                 << ") is not within " << tolerance << " of (" << r << ", " << g
                                                 << ", " << b << ")";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult RectFilled(const GLTestContext &gl, int left, int top, int right, int bottom, int r, int g,
                                      int b)
{
    const struct {
        int x, y;
        bool inside;
    } points[] = {{left, top, true},      {right - 1, bottom - 1, true}, {left - 1, top, false},
                  {left, top - 1, false}, {right, bottom - 1, false},    {right - 1, bottom, false}};
    for (const auto &p : points) {
        ::testing::AssertionResult near =
            p.inside ? PixelNear(gl.Pixel(p.x, p.y), r, g, b) : PixelNear(gl.Pixel(p.x, p.y), 0, 0, 0);
        if (!near)
            return ::testing::AssertionFailure() << "at " << p.x << ", " << p.y << ": " << near.message();
    }
    return ::testing::AssertionSuccess();
}
