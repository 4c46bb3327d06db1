// What sound and music cost a frame: on the main thread, the music's tick and the sound set's updates of a
// full race (eight cars' pitch, position and rough ground over the 44 loaded slots); on the music's worker,
// decoding one frame's worth (1/60 s) of the game's song.
#include <benchmark/benchmark.h>

#include <libopenmpt/libopenmpt.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Music.h"
#include "Game/Program.h"
#include "Game/Resolution.h"
#include "Game/Sound.h"

namespace {

// The engine allows one application object per process, and the benchmark runs its function more than once:
// the game and its sound are made once.
struct SoundGame
{
    SoundGame()
    {
        setenv("ALSOFT_DRIVERS", "null", 0);
        ResolutionGetSettings()->music_on = 1;
        game.GetSound()->Setup();
        game.GetMusic()->SetupSongList();
        ready = game.GetSound()->IsLoaded() && game.GetMusic()->Init(true);
    }
    Program program;
    Game game{&program, "Game", 0};
    bool ready = false;
};

void SoundAndMusicMainThreadFrame(benchmark::State& run)
{
    static SoundGame made;
    Game& game = made.game;
    Sound& sound = *game.GetSound();
    Music& music = *game.GetMusic();
    if (!made.ready) {
        run.SkipWithError("no sound device");
        return;
    }
    music.TurnOn();
    game.GetCar()->SetSizes(0.0f);
    unsigned frame = 0;
    for (auto _ : run) {
        frame++;
        game_clock_ms += 16;
        music.Tick();
        for (int car = 0; car < SOUND_CARS; car++) {
            CarState* state = game.GetCar()->GetState(car);
            state->speed = float((frame * 7 + car * 40) % 400);
            state->x = float((frame + car * 80) % 640);
            state->y = float((frame * 3 + car * 60) % 480);
            sound.SetEnginePitch(car, false);
            sound.SetPosition(car, SOUND_ENGINE);
            sound.SetRoughGround(car, (frame / 30 + car) % 4 == 0);
        }
    }
    music.TurnOff();
    sound.StopAll();
}
BENCHMARK(SoundAndMusicMainThreadFrame)->Unit(benchmark::kMicrosecond);

void SongDecodingPerFrame(benchmark::State& run)
{
    std::ifstream in("Data/1360.dat", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    openmpt_module* song = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr,
                                                              nullptr, nullptr, nullptr, nullptr);
    if (!song) {
        run.SkipWithError("no song");
        return;
    }
    openmpt_module_set_repeat_count(song, -1);
    std::vector<int16_t> audio(735 * 2);
    for (auto _ : run)
        benchmark::DoNotOptimize(openmpt_module_read_interleaved_stereo(song, 44100, 735, audio.data()));
    openmpt_module_destroy(song);
}
BENCHMARK(SongDecodingPerFrame)->Unit(benchmark::kMicrosecond);

} // namespace
