// What loading a track costs a race start: the grid built from the maps and the track picture decoded and
// uploaded to the machine's OpenGL, as Game::LoadTrack does it, then the picture alone. The game runs in a
// 1024 x 768 window on an offscreen context; llvmpipe keeps its default threads.
#include <benchmark/benchmark.h>

#include "Game/Game.h"
#include "Game/Graphics.h"
#include "Game/TrackInfo.h"
#include "Support/GameInWindow.h"

namespace {

Game* GameWithDevice()
{
    static Game* game = nullptr;
    if (game)
        return game;
    Program* program = StartGameInWindow();
    if (!program)
        return nullptr;
    game = program->GetGame();
    return game;
}

void BM_TrackLoadInGame(benchmark::State& state)
{
    Game* game = GameWithDevice();
    if (!game) {
        state.SkipWithError("no graphics device");
        return;
    }
    const int track = int(state.range(0));
    TrackInfoInitVars(track);
    for (auto _ : state) {
        if (!game->LoadTrack(track))
            state.SkipWithError("track not loaded");
    }
}

void BM_TrackPicture(benchmark::State& state)
{
    Game* game = GameWithDevice();
    if (!game) {
        state.SkipWithError("no graphics device");
        return;
    }
    TrackInfoInitVars(int(state.range(0)));
    for (auto _ : state) {
        if (!game->GetGraphics()->LoadTrackPicture())
            state.SkipWithError("picture not loaded");
    }
}

} // namespace

// The process's processor time covers llvmpipe's threads as well as the game's.
BENCHMARK(BM_TrackLoadInGame)->DenseRange(0, TRACK_COUNT - 1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_TrackPicture)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
