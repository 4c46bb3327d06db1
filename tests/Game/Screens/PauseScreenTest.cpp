// The pause screen in real races: a pause of any length, also through the options and back, costs no car
// any time; a time trial is given up for its screen on the frame after Escape; quitting a quick race
// returns to its set-up and a championship race asks first.

#include "Support/GameWindowFixture.h"

#include "Game/Car.h"
#include "Game/Levels.h"
#include "Game/Program.h"
#include "Game/Screens/PauseCC.h"
#include "Game/StateClass.h"
#include "Game/Users.h"

class PauseScreenTest : public GameWindowFixture
{
protected:
    // A race of two cars on the first track, driven until it runs (and, when asked, until every car has
    // started timing a lap).
    void Race(_GameType type, int cars, bool until_laps_timed)
    {
        StartRace(type, 0, cars);
        ASSERT_TRUE(RunUntil([&] { return Ready(cars, until_laps_timed); })) << "the race did not get going";
    }
    bool Ready(int cars, bool until_laps_timed) const
    {
        if (game->GetState()->GetState() != RACE_STATE_RACING)
            return false;
        for (int car = 0; until_laps_timed && car < cars; car++)
            if (game->GetCar()->GetRecord(car)->lap_start_time == 0)
                return false;
        return true;
    }
    void Escape() { PressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE); }
};

TEST_F(PauseScreenTest, APauseThroughTheOptionsAndBackLeavesEveryCarsTimesAsIfNoTimeHadPassed)
{
    // The player's car waits on the grid: its lap is not timed yet and must stay so.
    Race(GAME_TYPE_QUICK_RACE, 2, false);
    RunUntil([this] { return game->GetCar()->GetRecord(1)->lap_start_time != 0; });
    Escape();
    ASSERT_EQ(SCREEN_PAUS, screens->GetCurrentScreen());
    ASSERT_TRUE(game->IsMenusOn());
    EngUInt32 race_elapsed[2], lap_elapsed[2], lap_start[2];
    for (int car = 0; car < 2; car++) {
        const CarRecord* record = game->GetCar()->GetRecord(car);
        race_elapsed[car] = game_clock_ms - record->race_start_time;
        lap_elapsed[car] = game_clock_ms - record->lap_start_time;
        lap_start[car] = record->lap_start_time;
    }
    ASSERT_NE(0u, lap_start[1]) << "the computer car times its lap";

    Run(5.0);
    ASSERT_TRUE(Click(PauseCC::BUT_OPTIONS));
    ASSERT_EQ(SCREEN_OPTS, screens->GetCurrentScreen());
    Run(3.0);
    ASSERT_EQ(1, screens->GoBack());
    ASSERT_EQ(SCREEN_PAUS, screens->GetCurrentScreen());
    Run(2.0);
    ASSERT_TRUE(Click(PauseCC::BUT_RESUME));
    EXPECT_FALSE(game->IsMenusOn());
    for (int car = 0; car < 2; car++) {
        SCOPED_TRACE(car);
        const CarRecord* record = game->GetCar()->GetRecord(car);
        EXPECT_EQ(race_elapsed[car], game_clock_ms - record->race_start_time);
        if (lap_start[car] == 0)
            EXPECT_EQ(0u, record->lap_start_time) << "an untimed lap stays untimed";
        else
            EXPECT_EQ(lap_elapsed[car], game_clock_ms - record->lap_start_time);
    }
}

TEST_F(PauseScreenTest, EscapeInATimeTrialGivesItUpForItsScreenOnTheNextFrame)
{
    game->GetCurrentProfile()->license_test_state = USER_LICENSE_NORMAL_PLAY;
    Race(GAME_TYPE_TIME_TRIAL, 1, false);
    Escape();
    EXPECT_EQ(SCREEN_PAUS, screens->GetCurrentScreen()) << "no screen change inside the pause screen's start";
    EXPECT_FALSE(Button(PauseCC::BUT_RESUME)->IsShown());
    Run(1.0 / 60.0);
    EXPECT_EQ(SCREEN_TTRL, screens->GetCurrentScreen());
    EXPECT_EQ("TTrial", DesktopCollections());
}

TEST_F(PauseScreenTest, EscapeInADrivingTestReturnsToTheMainMenu)
{
    game->GetCurrentProfile()->license_test_state = USER_LICENSE_TEST_RUNNING;
    Race(GAME_TYPE_TIME_TRIAL, 1, false);
    Escape();
    EXPECT_EQ(SCREEN_MAIN, screens->GetCurrentScreen());
    EXPECT_EQ(USER_LICENSE_TEST_RUNNING, game->GetCurrentProfile()->license_test_state);
}

TEST_F(PauseScreenTest, QuitReturnsAQuickRaceToItsSetUpAndAsksBeforeAbandoningAChampionshipRace)
{
    Race(GAME_TYPE_QUICK_RACE, 2, false);
    Escape();
    ASSERT_TRUE(Click(PauseCC::BUT_QUIT));
    EXPECT_EQ(SCREEN_QRCE, screens->GetCurrentScreen());
    EXPECT_TRUE(game->IsMenusOn());

    Race(GAME_TYPE_CHAMPIONSHIP, 2, false);
    Escape();
    ASSERT_EQ(SCREEN_PAUS, screens->GetCurrentScreen());
    ASSERT_TRUE(Click(PauseCC::BUT_QUIT));
    EXPECT_EQ("ABANDON RACE", PopupTitle());
    EXPECT_EQ("Are you sure you want to abandon this race ?\n\n", PopupText());
    ASSERT_TRUE(AnswerPopup(MWIN_POPUP_CANCEL_ID));
    EXPECT_EQ(SCREEN_PAUS, screens->GetCurrentScreen());
    ASSERT_TRUE(Click(PauseCC::BUT_QUIT));
    ASSERT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));
    EXPECT_EQ(SCREEN_CRES, screens->GetCurrentScreen());
}
