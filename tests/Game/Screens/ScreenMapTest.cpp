// The screen map as a state machine: from each screen of the driver choice, the main menu, the credits and
// the country choice, every button that leads somewhere leads where the map says. Then the main menu's
// own cases: what a new driver and a driver with an updated licence see, DRIVER saving before it leaves,
// and the driving test starting its race.

#include "Support/GameWindowFixture.h"

#include <algorithm>
#include <cstdio>

#include "Engine/Core/EngProgram.h"
#include "Game/Screens/AboutCC.h"
#include "Game/Screens/CountryCC.h"
#include "Game/Screens/Countries.h"
#include "Game/Screens/MainCC.h"
#include "Game/Screens/UsersCC.h"
#include "Game/Screens/UsersLoadCC.h"
#include "Game/SettingsClass.h"
#include "Game/Users.h"

namespace {

struct MapRow {
    EngScreenID via; // the screen before, for the way back
    EngScreenID from;
    int button;
    EngScreenID to;
};

const MapRow kMap[] = {
    {SCREEN_MAIN, SCREEN_USER, UsersCC::BUT_OTHER, SCREEN_ULOD},
    {SCREEN_MAIN, SCREEN_USER, UsersCC::BUT_CONTINUE, SCREEN_MAIN},
    {SCREEN_USER, SCREEN_ULOD, UsersLoadCC::BUT_BACK, SCREEN_USER},
    {SCREEN_USER, SCREEN_ULOD, UsersLoadCC::BUT_LOAD, SCREEN_MAIN},
    {SCREEN_USER, SCREEN_MAIN, MainCC::BUT_VIEW_LICENSE, SCREEN_LICN},
    {SCREEN_USER, SCREEN_MAIN, MainCC::BUT_TIME_TRIAL, SCREEN_TTRL},
    {SCREEN_USER, SCREEN_MAIN, MainCC::BUT_QUICK_RACE, SCREEN_QRCE},
    {SCREEN_USER, SCREEN_MAIN, MainCC::BUT_CHAMP, SCREEN_CLOD},
    {SCREEN_USER, SCREEN_MAIN, MainCC::BUT_ABOUT, SCREEN_ABOU},
    {SCREEN_USER, SCREEN_MAIN, MainCC::BUT_OPTIONS, SCREEN_OPTS},
    {SCREEN_USER, SCREEN_MAIN, MainCC::BUT_GAMES, SCREEN_GADS},
    {SCREEN_USER, SCREEN_MAIN, MainCC::BUT_DRIVER, SCREEN_USER},
    {SCREEN_MAIN, SCREEN_ABOU, AboutCC::BUT_BACK, SCREEN_MAIN},
    {SCREEN_MAIN, SCREEN_MCTY, CountryCC::BUT_CONTINUE, SCREEN_MAIN},
};

} // namespace

class ScreenMapTest : public GameWindowFixture
{
protected:
    // A driver who has passed the driving test, stored and playing, with a country.
    void PlayAs(const char* name, EngUInt8 test_state, EngUInt8 licence_updated)
    {
        UserRecord* profile = game->GetCurrentProfile();
        snprintf(profile->name, sizeof profile->name, "%s", name);
        game->GetUsers()->SetDefaults(0);
        profile->user_id = 99;
        profile->license_test_state = test_state;
        profile->changed = licence_updated;
        snprintf(profile->country, sizeof profile->country, "NO");
        ASSERT_TRUE(game->GetUsers()->SaveCurrentUser());
        game->GetSettings()->SetLastDriverName(name);
        CountrySetContinueCB(nullptr, nullptr);
    }
};

TEST_F(ScreenMapTest, EveryButtonLeadsWhereTheMapSays)
{
    PlayAs("ANNA", USER_LICENSE_NORMAL_PLAY, 0);
    for (const MapRow& row : kMap) {
        char trace[64];
        snprintf(trace, sizeof trace, "%.4s button %d", reinterpret_cast<const char*>(&row.from), row.button);
        SCOPED_TRACE(trace);
        ASSERT_EQ(1, screens->GotoScreen(row.via, nullptr));
        ASSERT_EQ(1, screens->GotoScreen(row.from, nullptr));
        if (row.from == SCREEN_MCTY)
            Button(CountryCC::BUT_COUNTRY)->PanelSetPos(0, MWIN_FIRE_NEVER, 0);
        ASSERT_TRUE(Click(row.button)) << "the button can be clicked";
        EXPECT_FALSE(mwin->IsPopupOn()) << PopupTitle() << ": " << PopupText();
        EXPECT_EQ(row.to, screens->GetCurrentScreen());
        EXPECT_EQ(screens->GetController(row.to), Current());
    }
}

TEST_F(ScreenMapTest, ANewDriverSeesTheFourModesDisabledAndTheDrivingTest)
{
    PlayAs("NEWBIE", USER_LICENSE_TEST_RUNNING, 0);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_MAIN, nullptr));
    for (int mode : {MainCC::BUT_VIEW_LICENSE, MainCC::BUT_TIME_TRIAL, MainCC::BUT_QUICK_RACE, MainCC::BUT_CHAMP}) {
        EXPECT_TRUE(Button(mode)->IsShown());
        EXPECT_FALSE(Button(mode)->IsEnabled()) << Button(mode)->GetID();
    }
    EXPECT_TRUE(Button(MainCC::BUT_TEST)->IsShown());
    for (int hidden : {MainCC::BUT_LUPDATE, MainCC::BUT_STATS_BG, MainCC::BUT_CUR_LEVEL, MainCC::BUT_CUR_CLASS})
        EXPECT_FALSE(Button(hidden)->IsShown()) << Button(hidden)->GetID();
    EXPECT_FALSE(Click(MainCC::BUT_QUICK_RACE));
    EXPECT_EQ(SCREEN_MAIN, screens->GetCurrentScreen());
}

TEST_F(ScreenMapTest, AnUpdatedLicencePulsesGreenInPlaceOfTheBottomRow)
{
    PlayAs("CHAMP", USER_LICENSE_NORMAL_PLAY, 1);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_MAIN, nullptr));
    for (int hidden : {MainCC::BUT_GAMES, MainCC::BUT_ABOUT, MainCC::BUT_DRIVER, MainCC::BUT_TEST})
        EXPECT_FALSE(Button(hidden)->IsShown()) << Button(hidden)->GetID();
    MWinButton* update = Button(MainCC::BUT_LUPDATE);
    ASSERT_TRUE(update->IsShown());
    float lowest = 2, highest = -1;
    for (int frame = 0; frame < 240; frame++) {
        Run(1.0 / 60.0);
        const float* colour = update->GetTextColour();
        EXPECT_NEAR(colour[0], 0.3f * colour[1], 1e-5f);
        EXPECT_NEAR(colour[2], 0.5f * colour[1], 1e-5f);
        lowest = std::min(lowest, colour[1]);
        highest = std::max(highest, colour[1]);
    }
    EXPECT_LT(lowest, 0.55f) << "the green pulses between half and full";
    EXPECT_GT(highest, 0.95f);

    PlayAs("CHAMP", USER_LICENSE_NORMAL_PLAY, 0);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_MAIN, nullptr));
    EXPECT_FALSE(Button(MainCC::BUT_LUPDATE)->IsShown());
    EXPECT_TRUE(Button(MainCC::BUT_DRIVER)->IsShown());
}

TEST_F(ScreenMapTest, DriverSavesTheProfileAndTheSettingsBeforeTheDriverScreen)
{
    PlayAs("ANNA", USER_LICENSE_NORMAL_PLAY, 0);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_MAIN, nullptr));
    game->GetCurrentProfile()->visits = 41;
    ASSERT_TRUE(Click(MainCC::BUT_DRIVER));
    EXPECT_EQ(SCREEN_USER, screens->GetCurrentScreen());

    UsersClass* users = game->GetUsers();
    UserRecord* spare = users->GetUser(1);
    snprintf(spare->name, sizeof spare->name, "ANNA");
    ASSERT_TRUE(users->LoadUser(1));
    EXPECT_EQ(41, spare->visits);
    SettingsClass reread(game);
    reread.SetFilename();
    ASSERT_TRUE(reread.Load());
    EXPECT_STREQ("ANNA", reread.GetLastDriverName());
}

TEST_F(ScreenMapTest, TheDrivingTestExplainsItselfThenRacesInTheFirstClassAndLevel)
{
    PlayAs("NEWBIE", USER_LICENSE_TEST_RUNNING, 0);
    game->GetCurrentProfile()->formula_zzz = 2;
    game->GetCurrentProfile()->classes[0].level_zzz = 3;
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_MAIN, nullptr));
    ASSERT_TRUE(Click(MainCC::BUT_TEST));
    EXPECT_EQ("\nCOMPLETE A LAP IN UNDER 12 SECONDS TO PASS THE TEST.\n\n\nPRESS 'A' TO ACCELERATE.\n\n"
              "RELEASE 'A' TO SLOW DOWN.\n\nPRESS 'LEFT' & 'RIGHT' TO STEER.\n\n\nGOOD LUCK!\n",
              PopupText());
    EXPECT_TRUE(game->IsMenusOn());
    ASSERT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));
    EXPECT_FALSE(game->IsMenusOn()) << "the race is on";
    EXPECT_EQ(GAME_TYPE_TIME_TRIAL, game->GetGameType());
    EXPECT_EQ(1, game->GetCarsInRace());
    EXPECT_EQ(0, game->GetCurrentProfile()->formula_zzz);
    EXPECT_EQ(0, game->GetCurrentProfile()->classes[0].level_zzz);
}

TEST_F(ScreenMapTest, ExitEndsTheProgramThroughItsNormalShutdown)
{
    PlayAs("ANNA", USER_LICENSE_NORMAL_PLAY, 0);
    ASSERT_EQ(1, screens->GotoScreen(SCREEN_MAIN, nullptr));
    EXPECT_FALSE(eng_main_program->IsQuitting());
    ASSERT_TRUE(Click(MainCC::BUT_EXIT));
    EXPECT_TRUE(eng_main_program->IsQuitting());
}
