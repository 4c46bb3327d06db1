// The sound set on OpenAL's silent device (ALSOFT_DRIVERS=null), with the game's clock driven by hand.
#include <gtest/gtest.h>

#include <AL/al.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "Engine/MWin/MWin.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Music.h"
#include "Game/Program.h"
#include "Game/Resolution.h"
#include "Game/Sound.h"
#include "Support/GameTestSupport.h"
#include "Support/LogForTests.h"

namespace {

class SoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("ALSOFT_DRIVERS", "null", 0);
        game_clock_ms = 1000;
    }

    ALint State(int slot) { return SourceInt(slot, AL_SOURCE_STATE); }

    ALint SourceInt(int slot, ALenum what)
    {
        ALint value = -1;
        alGetSourcei(sound.GetSlot(slot)->GetSourceDX(), what, &value);
        return value;
    }

    float SourceFloat(int slot, ALenum what)
    {
        ALfloat value = -1.0f;
        alGetSourcef(sound.GetSlot(slot)->GetSourceDX(), what, &value);
        return value;
    }

    bool Playing(int slot) { return State(slot) == AL_PLAYING; }

    // Puts a car on the screen at a speed, as the race would.
    void Drive(int car, float x, float y, float speed)
    {
        CarState* state = game.GetCar()->GetState(car);
        state->x = x;
        state->y = y;
        state->speed = speed;
    }

    Program program;
    Game game{&program, "Game", 0};
    Sound sound{&game};
};

} // namespace

TEST_F(SoundTest, SoundSwitchedOffLoadsNothingAndMenusStaySilent)
{
    game.SetSoundOn(false);
    sound.Setup();
    EXPECT_FALSE(sound.IsLoaded());
    EXPECT_EQ(EngSoundGetRunningSystem(), ENG_SOUND_SYSTEM_NONE);
    for (int slot = 0; slot < SOUND_SLOTS; slot++)
        EXPECT_FALSE(sound.GetSlot(slot)->IsLoaded()) << slot;
    int mark = LogMark();
    game.GetMWin()->CallButtonPressedHook(0);
    sound.PlayCrash(0);
    EXPECT_EQ(MessagesSince(mark), 0);
}

TEST_F(SoundTest, SetupLoadsAllSlotsAndTheButtonHookPlaysTheMenuSounds)
{
    sound.Setup();
    ASSERT_TRUE(sound.IsLoaded());
    for (int slot = 0; slot < SOUND_SLOTS; slot++) {
        EXPECT_TRUE(sound.GetSlot(slot)->IsLoaded()) << slot;
        // Car sounds are placed in the world; menu sounds stay at the listener.
        EXPECT_EQ(SourceInt(slot, AL_SOURCE_RELATIVE), slot < SOUND_SLOT_MENU ? AL_FALSE : AL_TRUE) << slot;
    }
    // Engine sounds of cars 0 and 4 share a file, as do 3 and 7.
    EXPECT_FLOAT_EQ(sound.GetSlot(0)->GetDuration(), sound.GetSlot(4)->GetDuration());
    EXPECT_FLOAT_EQ(sound.GetSlot(3)->GetDuration(), sound.GetSlot(7)->GetDuration());
    EXPECT_NE(sound.GetSlot(0)->GetDuration(), sound.GetSlot(1)->GetDuration());
    const int event_slots[4][2] = {{0, 40}, {1, 41}, {2, 43}, {3, 42}};
    for (const auto& pair : event_slots) {
        for (int slot = SOUND_SLOT_MENU; slot < SOUND_SLOTS; slot++)
            sound.GetSlot(slot)->Stop();
        game.GetMWin()->CallButtonPressedHook(pair[0]);
        for (int slot = SOUND_SLOT_MENU; slot < SOUND_SLOTS; slot++)
            EXPECT_EQ(Playing(slot), slot == pair[1]) << "event " << pair[0] << " slot " << slot;
    }
    for (int car = 0; car < SOUND_CARS; car++) {
        float pitch = SourceFloat(SOUND_SLOT_CRASH + car, AL_PITCH);
        EXPECT_GE(pitch, 0.49f) << car;
        EXPECT_LE(pitch, 1.01f) << car;
    }
    sound.Shutdown();
    EXPECT_EQ(EngSoundGetRunningSystem(), ENG_SOUND_SYSTEM_NONE);
    EXPECT_FALSE(sound.GetSlot(0)->IsLoaded());
}

TEST_F(SoundTest, EnginePitchFollowsSpeedInSpeedUnits)
{
    sound.Setup();
    ASSERT_TRUE(sound.IsLoaded());
    game.GetCar()->SetSizes(0.0f);  // track 0: car size 20, speed unit 0.8
    ASSERT_FLOAT_EQ(game.GetCar()->GetSizes().speed_unit, 0.8f);
    Drive(0, 100.0f, 100.0f, 0.0f);
    sound.StartRaceSounds();
    EXPECT_TRUE(Playing(SOUND_SLOT_ENGINE));
    EXPECT_FALSE(Playing(SOUND_SLOT_ENGINE + 1));  // one car in this race
    EXPECT_EQ(SourceInt(SOUND_SLOT_ENGINE, AL_LOOPING), AL_TRUE);
    EXPECT_FLOAT_EQ(SourceFloat(SOUND_SLOT_ENGINE, AL_GAIN), 1.0f);
    // speed -> pitch = max(speed, 0) x 0.007 / unit + 1
    const float cases[][2] = {{0.0f, 1.0f}, {-50.0f, 1.0f}, {100.0f, 1.875f}, {400.0f, 4.5f}};
    for (const auto& c : cases) {
        Drive(0, 100.0f, 100.0f, c[0]);
        sound.SetEnginePitch(0, false);
        EXPECT_NEAR(sound.GetEnginePitch(0), c[1], 1e-4) << c[0];
        EXPECT_NEAR(SourceFloat(SOUND_SLOT_ENGINE, AL_PITCH), c[1], 1e-4) << c[0];
    }
    // A change below 0.001 is not applied unless forced.
    Drive(0, 100.0f, 100.0f, 400.1f);
    sound.SetEnginePitch(0, false);
    EXPECT_FLOAT_EQ(sound.GetEnginePitch(0), 4.5f);
    sound.SetEnginePitch(0, true);
    EXPECT_GT(sound.GetEnginePitch(0), 4.5f);
}

TEST_F(SoundTest, PositionsFollowTheCarOnTheScreen)
{
    sound.Setup();
    ASSERT_TRUE(sound.IsLoaded());
    Drive(1, 640.0f, 0.0f, 50.0f);
    sound.SetPosition(1, SOUND_ENGINE);
    ALfloat x = 0, y = 0, z = 0;
    alGetSource3f(sound.GetSlot(SOUND_SLOT_ENGINE + 1)->GetSourceDX(), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, 1.0f);
    EXPECT_FLOAT_EQ(y, -1.0f);
    EXPECT_FLOAT_EQ(z, -0.5f);  // OpenAL's z points out of the screen
    // The rough-ground loop follows the engine only while it plays.
    alGetSource3f(sound.GetSlot(SOUND_SLOT_ROUGH + 1)->GetSourceDX(), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(z, 0.0f);
    sound.SetRoughGround(1, true);
    Drive(1, 480.0f, 120.0f, 50.0f);
    sound.SetPosition(1, SOUND_ENGINE);
    alGetSource3f(sound.GetSlot(SOUND_SLOT_ROUGH + 1)->GetSourceDX(), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, 0.5f);
    EXPECT_FLOAT_EQ(y, -0.5f);
    // Wall and crash sounds start where the car is.
    Drive(2, 0.0f, 480.0f, 50.0f);
    sound.PlayWallHit(2);
    alGetSource3f(sound.GetSlot(SOUND_SLOT_WALL + 2)->GetSourceDX(), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(x, -1.0f);
    EXPECT_FLOAT_EQ(y, 1.0f);
}

TEST_F(SoundTest, TwoCrashesWithinAHundredMillisecondsPlayOneSound)
{
    sound.Setup();
    ASSERT_TRUE(sound.IsLoaded());
    const int slot = SOUND_SLOT_CRASH + 3;
    sound.PlayCrash(3);
    EXPECT_TRUE(Playing(slot));
    sound.GetSlot(slot)->Stop();
    game_clock_ms += 99;
    sound.PlayCrash(3);
    EXPECT_FALSE(Playing(slot));
    sound.PlayCrash(4);  // another car has its own interval
    EXPECT_TRUE(Playing(SOUND_SLOT_CRASH + 4));
    game_clock_ms += 1;
    sound.PlayCrash(3);
    EXPECT_TRUE(Playing(slot));
}

TEST_F(SoundTest, RoughGroundRestartsNoSoonerThanTenMilliseconds)
{
    sound.Setup();
    ASSERT_TRUE(sound.IsLoaded());
    const int slot = SOUND_SLOT_ROUGH + 5;
    Drive(5, 10.0f, 10.0f, 0.5f);  // too slow
    sound.SetRoughGround(5, true);
    EXPECT_FALSE(Playing(slot));
    Drive(5, 10.0f, 10.0f, 1.0f);
    sound.SetRoughGround(5, true);
    EXPECT_TRUE(Playing(slot));
    EXPECT_EQ(SourceInt(slot, AL_LOOPING), AL_TRUE);
    EXPECT_TRUE(sound.IsRoughGroundPlaying(5));
    Drive(5, 10.0f, 10.0f, 50.0f);
    game_clock_ms += 4;
    sound.SetRoughGround(5, false);
    EXPECT_FALSE(Playing(slot));
    game_clock_ms += 5;
    sound.SetRoughGround(5, true);
    EXPECT_FALSE(Playing(slot));
    game_clock_ms += 1;
    sound.SetRoughGround(5, true);
    EXPECT_TRUE(Playing(slot));
    Drive(5, 10.0f, 10.0f, 0.9f);  // slowed down on it
    sound.SetRoughGround(5, true);
    EXPECT_FALSE(Playing(slot));
}

TEST_F(SoundTest, WallHitsNeedTenSpeedAndFinishPlaysAtItsVolume)
{
    sound.Setup();
    ASSERT_TRUE(sound.IsLoaded());
    Drive(0, 50.0f, 50.0f, 9.9f);
    sound.PlayWallHit(0);
    EXPECT_FALSE(Playing(SOUND_SLOT_WALL));
    Drive(0, 50.0f, 50.0f, 10.0f);
    sound.PlayWallHit(0);
    EXPECT_TRUE(Playing(SOUND_SLOT_WALL));
    sound.SetSlotVolume(SOUND_SLOT_FINISH + 1, 0.2f);
    sound.PlaySlot(SOUND_SLOT_FINISH + 1);
    EXPECT_TRUE(Playing(SOUND_SLOT_FINISH + 1));
    EXPECT_NEAR(SourceFloat(SOUND_SLOT_FINISH + 1, AL_GAIN), 0.2f, 1e-3);
}

TEST_F(SoundTest, QuietSimulationMakesNoSoundAndStoppingSilencesTheCars)
{
    sound.Setup();
    ASSERT_TRUE(sound.IsLoaded());
    Drive(0, 10.0f, 10.0f, 300.0f);
    sound.StartRaceSounds();
    sound.SetRoughGround(0, true);
    sound.StopCarSounds();
    EXPECT_FALSE(Playing(SOUND_SLOT_ENGINE));
    EXPECT_FALSE(Playing(SOUND_SLOT_ROUGH));
    EXPECT_FALSE(sound.IsRoughGroundPlaying(0));

    game.GetCar()->SetQuietSimulation(true);
    Drive(1, 10.0f, 10.0f, 300.0f);
    sound.StartRaceSounds();
    sound.SetEnginePitch(1, true);
    sound.PlayCrash(1);
    sound.PlayWallHit(1);
    sound.SetRoughGround(1, true);
    sound.PlaySlot(SOUND_SLOT_FINISH + 1);
    sound.PlayMenuSound(0);
    for (int slot = 0; slot < SOUND_SLOTS; slot++)
        EXPECT_FALSE(Playing(slot)) << slot;
    EXPECT_FLOAT_EQ(sound.GetEnginePitch(1), 0.0f);
    game.GetCar()->SetQuietSimulation(false);
    sound.PlayCrash(1);
    EXPECT_TRUE(Playing(SOUND_SLOT_CRASH + 1));
}

// Without any output the game goes on silent and says so once. The child process starts OpenAL afresh
// with no usable driver.
TEST(SoundWithoutDevice, GameGoesOnSilentAndSaysSoOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
            Program program;
            Game game(&program, "Game", 0);
            Sound sound(&game);
            int mark = LogMark();
            sound.Setup();
            sound.PlayMenuSound(0);
            sound.PlayCrash(0);
            bool silent = !game.IsSoundOn() && !sound.IsLoaded();
            bool once = LogCountSince(mark, "No sound device") == 1;
            std::exit(silent && once ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// A device that fails mid-game: OpenAL's file output into a pipe whose reader goes away once the game runs.
// Sounds and music go silent and each says so once. The child process starts OpenAL afresh with that output.
TEST(SoundWithoutDevice, ADeviceThatFailsMidGameSilencesSoundAndMusicWithOneNoteEach)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::string pipe = ::testing::TempDir() + "/output-" + std::to_string(getpid());
            std::string config = pipe + ".conf";
            mkfifo(pipe.c_str(), 0600);
            FILE* file = std::fopen(config.c_str(), "w");
            std::fprintf(file, "[general]\ndrivers = wave\n[wave]\nfile = %s\n", pipe.c_str());
            std::fclose(file);
            setenv("ALSOFT_CONF", config.c_str(), 1);
            setenv("ALSOFT_DRIVERS", "wave", 1);
            signal(SIGPIPE, SIG_IGN);
            std::atomic<bool> listening{true};
            std::thread speaker([&] {
                int fd = open(pipe.c_str(), O_RDONLY);
                char buffer[4096];
                while (listening && read(fd, buffer, sizeof(buffer)) > 0) {
                }
                close(fd);
            });
            ResolutionGetSettings()->music_on = 1;
            Program program;
            Game game(&program, "Game", 0);
            Sound sound(&game);
            Music music(&game);
            int mark = LogMark();
            sound.Setup();
            music.SetupSongList();
            bool started = sound.IsLoaded() && music.Init(true);
            music.TurnOn();
            started = started && music.IsPlaying();
            listening = false;
            for (int i = 0; i < 300 && music.IsInitialised(); i++) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                music.Tick();
                sound.PlayMenuSound(0);
            }
            sound.PlayMenuSound(1);
            music.Tick();
            bool once = LogCountSince(mark, "the game goes on without sound") == 1 &&
                        LogCountSince(mark, "the game goes on without music") == 1;
            speaker.join();
            std::exit(started && once && !music.IsInitialised() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
