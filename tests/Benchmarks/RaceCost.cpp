// What a race costs: building a track's grid and one race step of eight cars. Drawing a race frame is
// measured by RaceFrameCost (a program with a device of its own).
#include <benchmark/benchmark.h>

#include "tests/Support/RaceHarness.h"

namespace {

// One game for the process: the engine allows one application object, and the harness's game is kept
// between benchmark runs.
RaceHarness* Harness()
{
    static RaceHarness* race = new RaceHarness("Bench");
    return race;
}

void BM_TraverseLoad(benchmark::State& state)
{
    Traverse* traverse = Harness()->game->GetTraverse();
    const int track = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(traverse->SetupTrack(track));
}

// A race of eight cars in full flow: each iteration is one race step (computer drivers, cars, collisions,
// places); a new race starts, untimed, when one ends.
void BM_RaceTick(benchmark::State& state)
{
    RaceHarness* race = Harness();
    Car* car = race->game->GetCar();
    auto start = [race]() {
        race->SetupRace(GAME_TYPE_QUICK_RACE, 0, 8, 1000);
        while (race->game->GetState()->GetState() != RACE_STATE_RACING)
            race->RunFrame();
        // Into the race, where the field has spread out.
        for (int i = 0; i < 600; i++)
            race->RunFrame();
    };
    start();
    for (auto _ : state) {
        race->SetClock(race->clock_ms + RaceHarness::kFrameSeconds * 1000.0);
        if (car->Tick() < 0) {
            state.PauseTiming();
            start();
            state.ResumeTiming();
        }
    }
}

} // namespace

BENCHMARK(BM_TraverseLoad)->DenseRange(0, TRACK_COUNT - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RaceTick)->Unit(benchmark::kMicrosecond);
