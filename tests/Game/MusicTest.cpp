// The music on OpenAL's silent device, with the game's clock and frame time driven by hand.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Engine/Core/EngProgram.h"
#include "Engine/Core/PC/EngModuleMusic_PC.h"
#include "Game/Game.h"
#include "Game/Music.h"
#include "Game/Program.h"
#include "Game/Resolution.h"
#include "Game/Users.h"
#include "Support/LogForTests.h"
#include "tools/datagen/DataGenMusic.h"

namespace {

class MusicTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("ALSOFT_DRIVERS", "null", 0);
        ResolutionGetSettings()->music_on = 1;
        game_clock_ms = 5000;
        eng_frame_time = 0.1f;
        profile()->music_volume = 7;
    }

    UserRecord* profile() { return game.GetCurrentProfile(); }

    // Frames of the menus' tick, each eng_frame_time long on the game's clock.
    void Frames(int count)
    {
        for (int i = 0; i < count; i++) {
            game_clock_ms += unsigned(eng_frame_time * 1000.0f);
            music.Tick();
        }
    }

    void StartPlaying(int position)
    {
        music.SetupSongList();
        ASSERT_TRUE(music.Init(true));
        MusicSetProfilePosition(profile(), position);
        music.TurnOn();
        ASSERT_TRUE(music.IsPlaying());
    }

    Program program;
    Game game{&program, "Game", 0};
    Music music{&game};
};

} // namespace

TEST_F(MusicTest, MusicSwitchedOffKeepsTheListEmptyAndInitSucceedsWithoutThePlayer)
{
    ResolutionGetSettings()->music_on = 0;
    music.SetupSongList();
    EXPECT_EQ(music.GetSongCount(), 0);
    EXPECT_TRUE(music.Init(true));
    EXPECT_FALSE(music.IsInitialised());
    EXPECT_FALSE(EngModuleMusicIsInitialised());
    music.TurnOn();
    EXPECT_FALSE(music.IsPlaying());
}

TEST_F(MusicTest, SongListHoldsTheGamesSongAndInitChoosesAValidSong)
{
    music.SetupSongList();
    ASSERT_EQ(music.GetSongCount(), 1);
    EXPECT_STREQ(music.GetSong(0)->file, "Data/1360.dat");
    EXPECT_STREQ(music.GetSong(0)->name, "1360");
    EXPECT_STREQ(music.GetSong(0)->artist, "Unknown");
    MusicSetProfileSong(profile(), 5);
    MusicSetProfilePosition(profile(), 9);
    int mark = LogMark();
    ASSERT_TRUE(music.Init(true));
    EXPECT_TRUE(EngModuleMusicIsInitialised());
    EXPECT_EQ(MusicGetProfileSong(*profile()), 0);
    EXPECT_EQ(MusicGetProfilePosition(*profile()), 0);  // a first start begins the song
    EXPECT_TRUE(LoggedSince(mark, "SetStart(START): 5 - 1"));
    EXPECT_TRUE(LoggedSince(mark, "SetStart(END):   0 - 1"));
    music.Free();
    EXPECT_FALSE(EngModuleMusicIsInitialised());
}

TEST_F(MusicTest, TurnOnPlaysFromTheKeptPositionAtTheProfilesVolume)
{
    // setting -> volume (setting + 3) x 10, never above 100; amplify half of it
    const int cases[][3] = {{0, 30, 15}, {4, 70, 35}, {7, 100, 50}, {9, 100, 50}};
    music.SetupSongList();
    ASSERT_TRUE(music.Init(true));
    for (const auto& c : cases) {
        profile()->music_volume = c[0];
        MusicSetProfilePosition(profile(), 5);
        music.TurnOn();
        ASSERT_TRUE(music.IsPlaying()) << c[0];
        EXPECT_EQ(music.GetVolume(), float(c[1])) << c[0];
        EXPECT_EQ(EngModuleMusicGetAmplify(), c[2]) << c[0];
        EXPECT_EQ(EngModuleMusicGetPosition() & 0xffff, 5u);
        EXPECT_TRUE(EngModuleMusicIsActive());
        music.TurnOff();
        EXPECT_FALSE(music.IsLoaded());
        EXPECT_FALSE(EngModuleMusicIsActive());
        int kept = MusicGetProfilePosition(*profile());
        EXPECT_TRUE(kept == 5 || kept == 6) << kept;  // where it was when turned off
    }
}

TEST_F(MusicTest, AKeptPositionPastTheSongsEndStartsTheSongAgain)
{
    StartPlaying(DATAGEN_MUSIC_ORDERS + 2);
    EXPECT_EQ(EngModuleMusicGetPosition() & 0xffff, 0u);
}

TEST_F(MusicTest, VolumeWhilePlayingIsAtOnceAndWhileOffFadesUpAfterTheFirstSecond)
{
    StartPlaying(0);
    music.SetVolume(60);
    EXPECT_EQ(music.GetVolume(), 60.0f);
    EXPECT_EQ(EngModuleMusicGetAmplify(), 30);
    EXPECT_EQ(music.GetFadeDirection(), 0);
    music.SetVolume(120);  // the options' highest setting
    EXPECT_EQ(music.GetVolume(), 100.0f);
    EXPECT_EQ(EngModuleMusicGetAmplify(), 50);

    music.TurnOff();
    music.Free();
    game_clock_ms = 20000;
    ASSERT_TRUE(music.Init(true));
    profile()->music_volume = 0;
    music.TurnOn();
    ASSERT_EQ(music.GetVolume(), 30.0f);
    music.TurnOff();
    music.SetVolume(120);
    EXPECT_EQ(music.GetTargetVolume(), 100.0f);
    EXPECT_EQ(music.GetFadeDirection(), 1);
}

// The fade's whole path: up while the song is off, and a target of 0 that stops a playing song, keeps its
// place and lets it resume three positions on.
TEST_F(MusicTest, FadesRunOnTheGameClockAndAFadeToZeroStopsAndResumesFurtherOn)
{
    music.SetupSongList();
    ASSERT_TRUE(music.Init(true));
    profile()->music_volume = 0;
    MusicSetProfilePosition(profile(), 4);
    music.TurnOn();
    ASSERT_TRUE(music.IsPlaying());
    music.TurnOff();
    music.SetVolume(90);
    EXPECT_EQ(music.GetFadeDirection(), 1);
    // Nothing moves before the first second after the start, and only while a song is loaded.
    music.TurnOn();
    float start = music.GetVolume();
    Frames(5);
    EXPECT_EQ(music.GetVolume(), start);
    Frames(6);
    EXPECT_GT(music.GetVolume(), start);
    EXPECT_LE(music.GetVolume(), 90.0f);
    // The status line follows the fade in place, but never over another message.
    int before = LogMark();
    Frames(2);
    EXPECT_EQ(LogMark(), before);
    DebugInfo("between two fade steps");
    Frames(2);
    EXPECT_TRUE(LoggedSince(before, "between two fade steps"));
    EXPECT_EQ(LogCountSince(before, "Vol: "), 1);
    // 30 a second: from 30 to 90 in two seconds of frames, then the fade ends at its target.
    Frames(21);
    EXPECT_EQ(music.GetVolume(), 90.0f);
    EXPECT_EQ(music.GetFadeDirection(), 0);
    EXPECT_EQ(EngModuleMusicGetAmplify(), 45);
    int mark = LogMark();
    Frames(3);
    EXPECT_EQ(MessagesSince(mark), 0);  // the status line is no longer rewritten

    music.TurnOff();
    music.SetVolume(0);
    music.TurnOn();
    int position = int(EngModuleMusicGetPosition() & 0xffff);
    Frames(1);
    EXPECT_TRUE(music.IsStoppedByFade());
    EXPECT_EQ(music.GetVolume(), 0.0f);
    Frames(1);
    EXPECT_FALSE(music.IsLoaded());
    EXPECT_FALSE(EngModuleMusicIsActive());
    int resume = MusicGetProfilePosition(*profile());
    EXPECT_TRUE(resume == position + 3 || resume == position + 4) << position << " " << resume;
    music.TurnOn();
    EXPECT_EQ(int(EngModuleMusicGetPosition() & 0xffff), resume);
}

TEST_F(MusicTest, AFadeTargetAboveTheTopIsClampedSoTheFadeEnds)
{
    StartPlaying(0);
    music.TurnOff();
    music.SetVolume(120);
    music.TurnOn();
    game_clock_ms += 2000;
    Frames(40);
    EXPECT_EQ(music.GetFadeDirection(), 0);
    EXPECT_EQ(music.GetVolume(), 100.0f);
}

TEST_F(MusicTest, TheNextSongStartsWhenTheSongEnds)
{
    StartPlaying(DATAGEN_MUSIC_ORDERS - 1);
    int mark = LogMark();
    music.Tick();
    EXPECT_FALSE(LoggedSince(mark, "Next Song")) << "the song still plays";
    // The player goes quiet at the song's end (EngModuleMusicTest hears one to its end); stopping it here
    // stands for the seconds of the last position.
    ASSERT_TRUE(EngModuleMusicStop());
    music.Tick();
    ASSERT_TRUE(LoggedSince(mark, "TICK - Song stopped => Next Song"));
    EXPECT_TRUE(LoggedSince(mark, "MUSIC NEXT SONG END [cur:0]"));
    // The one song of the list starts again from its beginning.
    EXPECT_TRUE(music.IsPlaying());
    EXPECT_TRUE(EngModuleMusicIsActive());
    EXPECT_EQ(EngModuleMusicGetPosition() & 0xffff, 0u);
}
