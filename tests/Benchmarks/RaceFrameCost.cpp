// What drawing a race frame costs at 1024 x 768 on the machine's OpenGL: the whole frame of a race on the
// grid (track, eight cars, countdown, head-up texts), drawn, presented and waited for. Then as the program
// draws: the scene's calls kept and drawn at the present, with the race moving on between frames, so that
// every frame differs from the one before.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <cstdlib>

#include "Engine/Core/EngMainEntry.h"
#include "Engine/Core/EngWindow.h"
#include "Engine/Core/EngString.h"
#include "Engine/Graphics/DX9/EngDeviceDX9.h"
#include "Engine/Graphics/DX9/EngGLDeviceDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/Main.h"
#include "Game/Program.h"
#include "Game/Users.h"
#include "Support/GameInWindow.h"

namespace {

// The game started as the program starts it, in a 1024 x 768 window, with a quick race on the grid.
Program* FrameGame()
{
    static Program* program = nullptr;
    if (program)
        return program;
    program = StartGameInWindow();
    if (!program)
        return nullptr;
    Game* game = program->GetGame();
    UserRecord* profile = game->GetCurrentProfile();
    EngSafeStrcpy(profile->name, "Bench", sizeof profile->name);
    profile->license_test_state = USER_LICENSE_NORMAL_PLAY;
    for (EngUInt8& shown : profile->hud)
        shown = 1;
    const int drivers[LEVELS_NUM_DRIVERS] = {0, 1, 2, 3, 4, 5, 6};
    game->GetLevels()->SetupRaceOpponents(7, drivers);
    game->SetupRace(GAME_TYPE_QUICK_RACE, 0, 8, false, 0, 0);
    game->StartRace(true);
    eng_frame_time = 1.0f / 60.0f;
    for (int i = 0; i < 80; i++) {
        game_clock_ms += 17;
        game->Tick();
    }
    return program;
}

void BM_RaceFrame(benchmark::State& state)
{
    Program* program = FrameGame();
    if (!program) {
        state.SkipWithError("no graphics device");
        return;
    }
    const int draws_before = eng_d3d_device->GetDrawCallCount();
    for (auto _ : state) {
        program->RenderCB();
        EngDeviceSwapBuffers();
        // Wait for the frame, so the time is the drawing's and not only the queueing's.
        glFinish();
    }
    state.counters["draws"] = double(eng_d3d_device->GetDrawCallCount() - draws_before) / double(state.iterations());
}

void BM_RaceFrameKept(benchmark::State& state)
{
    Program* program = FrameGame();
    if (!program) {
        state.SkipWithError("no graphics device");
        return;
    }
    Game* game = program->GetGame();
    EngDeviceSkipRepeatedFrames(true);
    const int draws_before = eng_d3d_device->GetDrawCallCount();
    for (auto _ : state) {
        game_clock_ms += 17;
        game->Tick();
        program->RenderCB();
        EngDeviceSwapBuffers();
        glFinish();
    }
    state.counters["draws"] = double(eng_d3d_device->GetDrawCallCount() - draws_before) / double(state.iterations());
    EngDeviceSkipRepeatedFrames(false);
}

} // namespace

// The game's own thread, then the whole process with llvmpipe's drawing threads.
BENCHMARK(BM_RaceFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RaceFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_RaceFrameKept)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RaceFrameKept)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
