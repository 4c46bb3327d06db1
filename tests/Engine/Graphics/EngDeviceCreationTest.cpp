// Creating the device through the main window, re-creating it (resize, lost device) with the application
// callbacks in order, and the anti-aliasing and failure paths of creation.

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngDirect3DDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/DX9/EngUtilsDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"
#include "Support/GLTestContext.h"

namespace {

using EngDeviceCreation = GLTestFixture;

const char *kRecreation = "PreDestroyGraphicsObjectsCB, DestroyGraphicsObjectsCB, PostDestroyGraphicsObjectsCB, "
                          "PreCreateGraphicsObjectsCB, CreateGraphicsObjectsCB, PostCreateGraphicsObjectsCB, "
                          "GraphicsReadyCB";

// Draws a red quad on blue and checks both colours where they belong.
void ExpectCorrectFrame(GLTestContext &gl)
{
    ASSERT_TRUE(BeginTestFrame(0.0f, 0.0f, 1.0f));
    GLTestContext::DrawVirtualQuad(0, 0, 320, 240, 0xFFFF0000u);
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(10, 10), 255, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(630, 470), 0, 0, 255));
    EngDeviceSwapBuffers();
}

// A machine with one adapter, a 1024 x 768 desktop and the given device types.
EngDirect3D9 Machine(bool hal, bool ref)
{
    EngDirect3D9 d3d;
    EngD3DAdapterModel adapter;
    adapter.desktop = {1024, 768, 60, D3DFMT_X8R8G8B8};
    adapter.modes = {{640, 480, 60, D3DFMT_X8R8G8B8}, {1024, 768, 60, D3DFMT_X8R8G8B8}};
    adapter.device_types[D3DDEVTYPE_HAL] = hal;
    adapter.device_types[D3DDEVTYPE_REF] = ref;
    adapter.multisample_levels[2] = 1;
    d3d.adapters.push_back(adapter);
    return d3d;
}

} // namespace

TEST_F(EngDeviceCreation, FirstCreationRunsTheCallbacksInOrder)
{
    EXPECT_EQ(gl.GetProgram()->CallList(),
              "PreCreateWindowCB, PreDeviceInitCB, PreCreateGraphicsObjectsCB, CreateGraphicsObjectsCB, "
              "PostCreateGraphicsObjectsCB, GraphicsReadyCB, PostDeviceInitCB");
    EXPECT_TRUE(EngDeviceIsCreated());
    EXPECT_EQ(eng_current_device, eng_main_window->GetDevice());
}

TEST_F(EngDeviceCreation, CreatedDeviceNeverWaitsForRetrace)
{
    const _DXUTDeviceSettings *settings = eng_device_dx9->GetDeviceSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->pp.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(settings->pp.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(settings->pp.BackBufferWidth, 640u);
    EXPECT_EQ(settings->pp.BackBufferHeight, 480u);
    EXPECT_EQ(eng_d3d_back_buffer_format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(eng_screen_bit_depth, 32);
}

TEST_F(EngDeviceCreation, RecreationRunsTheReleaseAndCreateSequenceThenDraws)
{
    ExpectCorrectFrame(gl);
    gl.GetProgram()->ClearCalls();
    ASSERT_TRUE(eng_main_window->RecreateDevice());
    EXPECT_EQ(gl.GetProgram()->CallList(), kRecreation);
    EXPECT_TRUE(EngDeviceIsCreated());
    ExpectCorrectFrame(gl);
}

TEST_F(EngDeviceCreation, LostDeviceIsRecreatedOnlyAfterFiveSecondsAndOnceUsable)
{
    eng_time = 100.0;
    eng_d3d_device->SimulateDeviceLoss(true);
    EngDeviceSwapBuffers();
    EXPECT_TRUE(eng_device_dx9->IsLost());
    EXPECT_EQ(GLTestLogCount("Warning: Device Lost..."), 1);

    eng_time = 106.0; // long enough, but the device still reports the loss
    EXPECT_FALSE(EngDeviceBeginRendering());
    EXPECT_FALSE(eng_main_window->IsDeviceRecreationRequested());

    eng_d3d_device->SimulateDeviceLoss(false);
    eng_time = 104.0; // usable again, but too soon
    EXPECT_FALSE(EngDeviceBeginRendering());
    EXPECT_FALSE(eng_main_window->IsDeviceRecreationRequested());

    eng_time = 105.5;
    EXPECT_FALSE(EngDeviceBeginRendering());
    EXPECT_TRUE(eng_main_window->IsDeviceRecreationRequested());
    EXPECT_EQ(GLTestLogCount("Re-creating device that was lost."), 1);

    gl.GetProgram()->ClearCalls();
    eng_main_window->Pump();
    EXPECT_EQ(gl.GetProgram()->CallList(), kRecreation);
    EXPECT_FALSE(eng_device_dx9->IsLost());
    ExpectCorrectFrame(gl);
}

TEST(EngDeviceCreationWithSettings, UnavailableAntiAliasingFallsBackToNone)
{
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(640, 480, 16, 3)); // no machine offers 16 samples with 4 quality levels here
    EXPECT_EQ(GLTestLogCount("creating the device without anti-aliasing"), 1);
    EXPECT_EQ(eng_screen_multisample_type, 0);
    EXPECT_EQ(eng_device_dx9->GetDeviceSettings()->pp.MultiSampleType, D3DMULTISAMPLE_NONE);
    ExpectCorrectFrame(gl);
}

TEST(EngDeviceCreationWithSettings, AvailableAntiAliasingIsUsedAndSmoothsEdges)
{
    EngDirect3D9 probe;
    ASSERT_TRUE(SDL_InitSubSystem(SDL_INIT_VIDEO) == 0);
    ASSERT_TRUE(EngDirect3DDX9ProbeSystem(&probe, nullptr));
    if (probe.adapters[0].multisample_levels[4] < 1)
        GTEST_SKIP() << "this GL offers no 4x multisampling";
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(640, 480, 4, 0));
    EXPECT_EQ(eng_device_dx9->GetDeviceSettings()->pp.MultiSampleType, 4);
    ASSERT_TRUE(BeginTestFrame());
    EngDeviceShowTwoSidedPolygons(true);
    glColor4ub(255, 255, 255, 255);
    glBegin(GL_TRIANGLES);
    glVertex3f(-1.0f, -1.0f, 0.5f);
    glVertex3f(1.0f, 1.0f, 0.5f);
    glVertex3f(1.0f, -1.0f, 0.5f);
    glEnd();
    EndTestFrame();
    std::vector<unsigned char> row;
    ASSERT_TRUE(gl.ReadPixelsBGRA(0, 240, 640, 1, &row));
    int partial = 0;
    for (size_t i = 0; i < row.size(); i += 4)
        partial += row[i + 2] > 20 && row[i + 2] < 235;
    EXPECT_GE(partial, 1);
    EXPECT_TRUE(PixelNear(gl.Pixel(600, 400), 255, 255, 255));
    EXPECT_TRUE(PixelNear(gl.Pixel(40, 40), 0, 0, 0));
    // Both ways of waiting for the GPU work with the multisampled target.
    EngDeviceSwapBuffers();
    gl.GetProgram()->SetGpuSyncMethod(true, ENG_GPU_SYNC_LOCKED_SURFACES, false);
    EngDeviceSyncWithGPU();
    EXPECT_EQ(gl.GetProgram()->GetGpuSyncMethod(), ENG_GPU_SYNC_LOCKED_SURFACES);
    gl.GetProgram()->SetGpuSyncMethod(true, ENG_GPU_SYNC_EVENT_QUERY, false);
    EngDeviceSyncWithGPU();
    EXPECT_EQ(gl.GetProgram()->GetGpuSyncMethod(), ENG_GPU_SYNC_EVENT_QUERY);
}

TEST(EngDeviceCreationWithSettings, ReferenceOnlyMachineWarnsOnceAcrossRecreations)
{
    const EngDirect3D9 machine = Machine(false, true);
    EngDirect3DDX9SetModel(&machine);
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(640, 480));
    EXPECT_EQ(eng_d3d_device_type, D3DDEVTYPE_REF);
    ASSERT_TRUE(eng_main_window->RecreateDevice());
    EXPECT_EQ(GLTestLogCount("Switching to sofware renderer and no hardware renderer found."), 1);
    EngDirect3DDX9SetModel(nullptr);
}

// Out of video memory, with anti-aliasing (2 samples) and without: the advice fits the setting.
class OutOfVideoMemory : public ::testing::TestWithParam<int> {};

TEST_P(OutOfVideoMemory, CreationFailsWithAdviceThatFitsTheSetting)
{
    const int samples = GetParam();
    EngDirect3D9 machine = Machine(true, false);
    machine.adapters[0].create_device_result = D3DERR_OUTOFVIDEOMEMORY;
    EngDirect3DDX9SetModel(&machine);
    GLTestContext gl;
    EXPECT_FALSE(gl.Open(640, 480, samples, 0));
    EXPECT_EQ(GLTestLogCount("Try turning off anti aliasing, or running in a lower resolution."), samples ? 1 : 0);
    EXPECT_EQ(GLTestLogCount(samples ? "Could not change device" : "Could not create the Direct3D device"), 1);
    EXPECT_EQ(eng_d3d_device, nullptr);
    EXPECT_EQ(eng_current_device, nullptr);
    EngDirect3DDX9SetModel(nullptr);
}

INSTANTIATE_TEST_SUITE_P(AntiAliasing, OutOfVideoMemory, ::testing::Values(2, 0));

TEST(EngDeviceCreationWithSettings, SurfaceFormatNeedsADeviceAndPrefersEightBitAlpha)
{
    D3DFORMAT format = D3DFMT_UNKNOWN;
    const int messages = DebugGetMessageCount();
    EXPECT_FALSE(EngUtilsDX9_GetSupportedSurfaceFormat(&format, true));
    EXPECT_EQ(DebugGetMessageCount(), messages);
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(640, 480));
    ASSERT_TRUE(EngUtilsDX9_GetSupportedSurfaceFormat(&format, true));
    EXPECT_EQ(format, D3DFMT_A8R8G8B8);
    ASSERT_TRUE(EngUtilsDX9_GetSupportedSurfaceFormat(&format, false));
    EXPECT_EQ(format, D3DFMT_X8R8G8B8);
}

TEST_F(EngDeviceCreation, GpuSyncKeepsAWorkingMethod)
{
    gl.GetProgram()->SetGpuSyncMethod(true, ENG_GPU_SYNC_EVENT_QUERY, true);
    ExpectCorrectFrame(gl);
    EngDeviceSyncWithGPU();
    EXPECT_EQ(gl.GetProgram()->GetGpuSyncMethod(), ENG_GPU_SYNC_EVENT_QUERY);
    gl.GetProgram()->SetGpuSyncMethod(true, ENG_GPU_SYNC_LOCKED_SURFACES, false);
    EngDeviceSyncWithGPU();
    EXPECT_EQ(gl.GetProgram()->GetGpuSyncMethod(), ENG_GPU_SYNC_LOCKED_SURFACES);
    EXPECT_EQ(GLTestLogCount("Sync method"), 0);
}

TEST_F(EngDeviceCreation, ResizeRecreatesTheDeviceAtTheNewSize)
{
    gl.GetProgram()->ClearCalls();
    // Smaller than before: the off-screen driver keeps its first surface, so only that much can be read.
    SDL_SetWindowSize(eng_main_window->GetWindowHandle_PC(), 512, 384);
    eng_main_window->Resized(512, 384);
    EXPECT_EQ(gl.GetProgram()->CallList(), std::string(kRecreation) + ", GraphicsReadyCB");
    EXPECT_EQ(eng_device_dx9->GetDeviceSettings()->pp.BackBufferWidth, 512u);
    D3DVIEWPORT9 viewport;
    ASSERT_TRUE(EngDeviceGetViewportStruct(&viewport, true));
    EXPECT_EQ(viewport.Width, 512u);
    EXPECT_EQ(viewport.Height, 384u);
    ASSERT_TRUE(BeginTestFrame());
    GLTestContext::DrawVirtualQuad(320, 240, 320, 240, 0xFFFF0000u); // bottom-right quarter
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(256, 192), 255, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(511, 383), 255, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(255, 191), 0, 0, 0));
}

TEST_F(EngDeviceCreation, FullScreenToggleReleasesAndRecreatesTheDevice)
{
    gl.GetProgram()->ClearCalls();
    ASSERT_TRUE(eng_main_window->ToggleFullscreenMode(false));
    EXPECT_FALSE(eng_screen_windowed);
    EXPECT_EQ(gl.GetProgram()->CallList(),
              "PreDestroyGraphicsObjectsCB, DestroyGraphicsObjectsCB, PostDestroyGraphicsObjectsCB, PreCreateWindowCB, "
              "PreCreateGraphicsObjectsCB, CreateGraphicsObjectsCB, PostCreateGraphicsObjectsCB, GraphicsReadyCB, "
              "GraphicsReadyCB");
    EXPECT_EQ(eng_device_dx9->GetDeviceSettings()->pp.Windowed, 0);
    ExpectCorrectFrame(gl);
    ASSERT_TRUE(eng_main_window->ToggleFullscreenMode(true));
    EXPECT_TRUE(eng_screen_windowed);
    ExpectCorrectFrame(gl);
}

TEST_F(EngDeviceCreation, FocusLossInFullScreenReleasesTheDeviceUntilFocusReturns)
{
    ASSERT_TRUE(eng_main_window->ToggleFullscreenMode(false));
    gl.GetProgram()->ClearCalls();
    eng_main_window->SetActive(ENG_WINDOW_INACTIVE);
    EXPECT_EQ(gl.GetProgram()->CallList(), "PreDestroyGraphicsObjectsCB, DestroyGraphicsObjectsCB, PostDestroyGraphicsObjectsCB");
    EXPECT_FALSE(EngDeviceIsCreated());
    EXPECT_FALSE(EngDeviceBeginRendering());
    gl.GetProgram()->ClearCalls();
    eng_main_window->SetActive(ENG_WINDOW_ACTIVE);
    EXPECT_EQ(gl.GetProgram()->CallList(), "PreCreateGraphicsObjectsCB, CreateGraphicsObjectsCB, PostCreateGraphicsObjectsCB, GraphicsReadyCB");
    EXPECT_TRUE(EngDeviceIsCreated());
    ExpectCorrectFrame(gl);
}

TEST(EngDeviceCreationWithSettings, TextureCursorIsLoadedWithTheDeviceAndSizedInPixels)
{
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(800, 600));
    ASSERT_TRUE(eng_main_window->SetupTextureCursor_PC("Data/1200.tga", 2, 2, 14, 20, false, 2, 4));
    ASSERT_TRUE(eng_main_window->RecreateDevice());
    const _EngTextureCursor *cursor = eng_main_window->GetTextureCursor_PC();
    EXPECT_TRUE(cursor->on);
    ASSERT_NE(cursor->texture, nullptr);
    EXPECT_TRUE(cursor->texture->IsLoaded());
    EXPECT_EQ(cursor->converted_width, 17); // 14 x 1.25, truncated
    EXPECT_EQ(cursor->converted_height, 25);
    EXPECT_EQ(cursor->converted_hot_spot_x, 2);
    EXPECT_EQ(cursor->converted_hot_spot_y, 5);
}

TEST_F(EngDeviceCreation, MissingTextureCursorFallsBackToTheSystemCursor)
{
    ASSERT_TRUE(eng_main_window->SetupTextureCursor_PC("Data/no-such-cursor.tga", 2, 2, 14, 20, true, 0, 0));
    ASSERT_TRUE(eng_main_window->RecreateDevice());
    EXPECT_EQ(GLTestLogCount("Could not create texture cursor <Data/no-such-cursor.tga>"), 1);
    EXPECT_FALSE(eng_main_window->GetTextureCursor_PC()->on);
    EXPECT_TRUE(EngDeviceIsCreated());
    ExpectCorrectFrame(gl);
}
