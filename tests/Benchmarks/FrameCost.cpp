// What one menu-like frame costs: clear, 500 textured quads, 2,000 characters of text, present.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <cstdlib>

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngFont.h"
#include "Engine/Graphics/EngTexture.h"
#include "tests/Support/GameFontForTests.h"

namespace {

class BenchProgram : public EngProgram {};

// 50 characters; 40 lines make the 2,000 of a frame.
const char* const kLine = "Torvi Torvi 1:23.456 LAP 3/5 - CHAMPIONSHIP ROUND ";

bool OpenDevice(BenchProgram* program)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    _EngCreateWindowParms parms;
    parms.x = 0;
    parms.y = 0;
    parms.width = 800;
    parms.height = 600;
    parms.windowed = 1;
    return program->CreateMainWindow("Torvi Torvi frame cost", "TorviBenchClass", &parms) == 1 &&
           program->CreateMainGraphicsDevice();
}

void DrawFrame(EngTexture* texture, EngFont* font)
{
    EngDeviceBeginRendering();
    EngDeviceClearScreenAndZBuffer();
    EngDevicePrepareFor2D(true);
    EngDeviceEnableBlendingType(0);
    EngDeviceTurnOnAlphaModulation();
    for (int i = 0; i < 500; ++i) {
        texture->PositionRatioed((float)(i % 25) * 25.0f, (float)(i / 25) * 24.0f, 24.0f, 23.0f);
        texture->Draw();
    }
    EngFontPrepareForDrawing(EFDM_VIRTUAL);
    for (int line = 0; line < 40; ++line)
        font->DrawStringPart(4.0f, (float)line * 12.0f, kLine, 0, 0.0f);
    EngFontRestoreAfterDrawing();
    EngDeviceTurnOffAlphaModulation();
    EngDeviceRestoreAfter2D();
    EngDeviceEndRendering();
    EngDeviceSwapBuffers();
    // Wait for the frame, so the time is the drawing's and not only the queueing's.
    glFinish();
}

// The engine allows one application object per process, and the benchmark runs its function more than once:
// the device, picture and font are made on the first run and kept.
struct FrameScene {
    BenchProgram program;
    EngTexture texture;
    EngFont font;
    bool ready = false;
};

FrameScene* Scene()
{
    static FrameScene* scene = nullptr;
    if (!scene) {
        scene = new FrameScene;
        scene->ready = OpenDevice(&scene->program) &&
                       scene->texture.LoadFromFile("Data\\1200.tga", true, ETAT_FROM_FILE) &&
                       CreateGameFontForTests(&scene->font);
    }
    return scene;
}

void BM_FrameCost(benchmark::State& state)
{
    FrameScene* scene = Scene();
    if (!scene->ready) {
        state.SkipWithError("no graphics device, picture or font");
        return;
    }
    const int draws_before = eng_d3d_device->GetDrawCallCount();
    for (auto _ : state)
        DrawFrame(&scene->texture, &scene->font);
    state.counters["draws"] = (double)(eng_d3d_device->GetDrawCallCount() - draws_before) / (double)state.iterations();
    state.counters["quads"] = 500;
    state.counters["characters"] = 2000;
}

} // namespace

BENCHMARK(BM_FrameCost)->Unit(benchmark::kMillisecond);
