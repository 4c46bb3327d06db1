// The game's sound and music through a real race on OpenAL's silent device: the race takes over from the
// menus' music with every car's engine, the engines follow the cars, and leaving the race silences them and
// brings the music back.

#include <AL/al.h>

#include "Support/GameWindowFixture.h"

#include "Game/Car.h"
#include "Game/Levels.h"
#include "Game/Music.h"
#include "Game/Screens/QResCC.h"
#include "Game/Sound.h"
#include "Game/StateClass.h"

class RaceSoundTest : public GameWindowFixture
{
protected:
    void StartQuickRace(int cars) { StartRace(GAME_TYPE_QUICK_RACE, 0, cars); }

    ALint SlotState(int slot)
    {
        ALint state = -1;
        alGetSourcei(game->GetSound()->GetSlot(slot)->GetSourceDX(), AL_SOURCE_STATE, &state);
        return state;
    }
};

TEST_F(RaceSoundTest, RaceEnginesTakeOverFromTheMusicFollowTheCarsAndStopWithTheRace)
{
    Sound* sound = game->GetSound();
    Music* music = game->GetMusic();
    ASSERT_TRUE(sound->IsLoaded());
    EXPECT_TRUE(music->IsPlaying());  // the menus' music

    const int cars = 3;
    StartQuickRace(cars);
    EXPECT_FALSE(music->IsLoaded());
    for (int car = 0; car < SOUND_CARS; car++)
        EXPECT_EQ(SlotState(SOUND_SLOT_ENGINE + car) == AL_PLAYING, car < cars) << car;

    RunUntil([this] { return game->GetCar()->GetState(1)->speed > 0.0f; });
    Run(0.5);
    const CarState* driving = game->GetCar()->GetState(1);
    ASSERT_GT(driving->speed, 0.0f) << "the computer car never drove";
    float unit = game->GetCar()->GetSizes().speed_unit;
    EXPECT_NEAR(sound->GetEnginePitch(1), driving->speed * 0.007f / unit + 1.0f, 0.002f);
    EXPECT_FLOAT_EQ(sound->GetEnginePitch(0), 1.0f);  // the player has not moved
    ALfloat x = 0, y = 0, z = 0;
    alGetSource3f(sound->GetSlot(SOUND_SLOT_ENGINE + 1)->GetSourceDX(), AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, driving->x / 320.0f - 1.0f, 0.02f);
    EXPECT_NEAR(y, driving->y / 240.0f - 1.0f, 0.02f);

    PressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    ASSERT_TRUE(game->IsMenusOn());
    for (int car = 0; car < SOUND_CARS; car++)
        EXPECT_NE(SlotState(SOUND_SLOT_ENGINE + car), AL_PLAYING) << car;
    EXPECT_TRUE(music->IsPlaying());
}

// The result screen runs the rest of a race unheard: no car makes a sound while it is simulated.
TEST_F(RaceSoundTest, ARaceFinishedQuietlyMakesNoSound)
{
    StartQuickRace(8);
    RunUntilRacing();
    ASSERT_EQ(SlotState(SOUND_SLOT_ENGINE + 7), AL_PLAYING);
    // The cars drive on around the player's car left on the grid, into it and into walls, unheard.
    QResCC::FinishCurrentRace(game);
    EXPECT_GT(game->GetCar()->GetRecord(1)->laps_done, 0);
    for (int slot = 0; slot < SOUND_SLOT_MENU; slot++)
        EXPECT_NE(SlotState(slot), AL_PLAYING) << slot;
}
