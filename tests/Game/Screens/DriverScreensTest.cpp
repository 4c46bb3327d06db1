// The driver screens as a player meets them: the first start, a new driver typed in and taken through the
// country screen to the main menu, names refused, continuing (at the driver's music volume), loading and
// deleting drivers, and the profile and settings kept sound when a load fails or the current driver is deleted.

#include "Support/GameWindowFixture.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "Engine/Core/PC/EngModuleMusic_PC.h"
#include "Game/Music.h"
#include "Game/Screens/Countries.h"
#include "Game/Screens/CountryCC.h"
#include "Game/Screens/UsersCC.h"
#include "Game/Screens/UsersLoadCC.h"
#include "Game/SettingsClass.h"
#include "Game/Users.h"

namespace {

constexpr int kEnter = 0x0D;

bool Exists(const std::string& file)
{
    struct stat info;
    return stat(file.c_str(), &info) == 0;
}

} // namespace

class DriverScreensTest : public GameWindowFixture
{
protected:
    std::string DriverFile(const char* name) const
    {
        return home + "/Ostrelmark/Torvi Torvi/Drivers/" + name + ".drv";
    }
    // A stored driver, written through the spare profile so the current one is untouched.
    void MakeDriver(const char* name, const char* country = "SE", int music_volume = 7)
    {
        UserRecord* spare = game->GetUsers()->GetUser(1);
        snprintf(spare->name, sizeof spare->name, "%s", name);
        game->GetUsers()->SetDefaults(1);
        spare->music_volume = music_volume;
        spare->user_id = 77;
        snprintf(spare->country, sizeof spare->country, "%s", country);
        ASSERT_TRUE(game->GetUsers()->SaveUser(1));
    }
    // A file that passes the quick check but not the load: its name runs past its field.
    void BreakDriver(const char* name)
    {
        FILE* file = fopen(DriverFile(name).c_str(), "r+b");
        ASSERT_NE(nullptr, file);
        fseek(file, 4, SEEK_SET);
        fwrite("XXXXXXXXXXXX", 1, USER_NAME_SIZE, file);
        fclose(file);
    }
    void EnterNewDriver(const char* typed)
    {
        ASSERT_TRUE(Click(UsersCC::BUT_NEW));
        ASSERT_EQ("ENTER DRIVER NAME", PopupText());
        Type(typed);
        Key(kEnter);
        Frame();
    }
    // The other drivers screen's choice set to a driver, as its arrows would.
    void SelectDriver(const char* name)
    {
        UsersClass* users = game->GetUsers();
        for (int i = 0; i < users->ListDrivers(false); i++)
            if (strcmp(users->GetDriverName(i), name) == 0)
                Button(UsersLoadCC::BUT_USER)->ChoiceSetSel(i, MWIN_FIRE_IF_CHANGED);
    }
    void Restart(EngScreenID id) { ASSERT_EQ(1, screens->GotoScreen(id, nullptr)); }
    SettingsClass* Settings() const { return game->GetSettings(); }
    UserRecord* Profile() const { return game->GetCurrentProfile(); }
};

TEST_F(DriverScreensTest, AFirstStartOffersOnlyANewDriverAndTheExit)
{
    ASSERT_EQ(SCREEN_USER, screens->GetCurrentScreen());
    EXPECT_FALSE(Button(UsersCC::BUT_CONTINUE)->IsShown());
    EXPECT_FALSE(Button(UsersCC::BUT_OTHER)->IsEnabled());
    EXPECT_TRUE(Button(UsersCC::BUT_NEW)->IsEnabled());
    EXPECT_TRUE(Button(UsersCC::BUT_EXIT)->IsEnabled());
}

TEST_F(DriverScreensTest, ATypedNameBecomesAnUpperCaseDriverWhoChoosesACountryOnTheWayToTheMainMenu)
{
    EnterNewDriver("anna");
    EXPECT_EQ(SCREEN_MAIN, screens->GetCurrentScreen());
    EXPECT_STREQ("ANNA", Profile()->name);
    EXPECT_TRUE(Exists(DriverFile("ANNA")));
    EXPECT_STREQ("ANNA", Settings()->GetLastDriverName());
    EXPECT_GE(Profile()->user_id, 1);
    EXPECT_LE(Profile()->user_id, USER_MAX_ID);
    EXPECT_EQ(1, Profile()->visits);

    EXPECT_EQ("YOU NEED TO SELECT YOUR COUNTRY FOR THE WORLD TIMES COMPETITION.", PopupText());
    ASSERT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));
    ASSERT_EQ(SCREEN_MCTY, screens->GetCurrentScreen());
    Button(CountryCC::BUT_COUNTRY)->PanelSetPos(CountryGetCountryNumFromCode("FI", false), MWIN_FIRE_NEVER, 0);
    ASSERT_TRUE(Click(CountryCC::BUT_CONTINUE));
    EXPECT_EQ(SCREEN_MAIN, screens->GetCurrentScreen());
    EXPECT_STREQ("FI", Profile()->country);
}

TEST_F(DriverScreensTest, NamesThatExistOrCannotBeFileNamesAreRefusedAndChangeNothing)
{
    MakeDriver("ANNA");
    const struct {
        const char* typed;
        const char* title;
    } refused[] = {
        {"anna", "DRIVER ALREADY EXISTS"},
        {"..", "INVALID DRIVER NAME"},
        {"a/b", "INVALID DRIVER NAME"},
    };
    for (const auto& name : refused) {
        SCOPED_TRACE(name.typed);
        Restart(SCREEN_USER);
        EnterNewDriver(name.typed);
        EXPECT_EQ(name.title, PopupTitle());
        EXPECT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));
        EXPECT_EQ(SCREEN_USER, screens->GetCurrentScreen());
        EXPECT_STREQ("", Profile()->name);
        EXPECT_STREQ("", Settings()->GetLastDriverName());
    }
}

TEST_F(DriverScreensTest, SixtyFourDriversLeaveNoRoomForANewOneAndTheLastCanContinue)
{
    for (int i = 0; i < USERS_MAX_DRIVERS; i++) {
        char name[8];
        snprintf(name, sizeof name, "D%02d", i);
        MakeDriver(name, "SE", i % 7);
    }
    Settings()->SetLastDriverName("D07");
    Restart(SCREEN_USER);
    EXPECT_FALSE(Button(UsersCC::BUT_NEW)->IsEnabled());
    EXPECT_TRUE(Button(UsersCC::BUT_OTHER)->IsEnabled());
    ASSERT_TRUE(Button(UsersCC::BUT_CONTINUE)->IsShown());
    EXPECT_STREQ("D07", Button(UsersCC::BUT_CONTINUE)->GetTextP(1));

    // The music plays on the driver screen before anyone is chosen; the chosen driver's volume then holds.
    Music* music = game->GetMusic();
    ASSERT_TRUE(music->IsPlaying());
    ASSERT_TRUE(Click(UsersCC::BUT_CONTINUE));
    EXPECT_EQ(SCREEN_MAIN, screens->GetCurrentScreen());
    EXPECT_STREQ("D07", Profile()->name);
    EXPECT_FALSE(mwin->IsPopupOn()) << "the driver has a country";
    EXPECT_EQ(30.0f, music->GetVolume()) << "D07's volume setting is 0";
    EXPECT_EQ(15, EngModuleMusicGetAmplify());
}

TEST_F(DriverScreensTest, ADriverThatCannotBeLoadedLeavesTheCurrentProfileAsItWas)
{
    MakeDriver("BOB");
    MakeDriver("EVE");
    BreakDriver("BOB");
    snprintf(Profile()->name, sizeof Profile()->name, "EVE");
    ASSERT_TRUE(game->GetUsers()->LoadCurrentUser());
    UserRecord before = *Profile();

    Settings()->SetLastDriverName("BOB");
    Restart(SCREEN_USER);
    ASSERT_TRUE(Click(UsersCC::BUT_CONTINUE));
    EXPECT_EQ("ERROR", PopupTitle());
    EXPECT_EQ("COULD NOT LOAD DRIVER", PopupText());
    EXPECT_EQ(0, memcmp(&before, Profile(), sizeof before));
    ASSERT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));

    ASSERT_TRUE(Click(UsersCC::BUT_OTHER));
    ASSERT_EQ(SCREEN_ULOD, screens->GetCurrentScreen());
    SelectDriver("BOB");
    ASSERT_TRUE(Click(UsersLoadCC::BUT_LOAD));
    EXPECT_EQ("ERROR LOADING DRIVER", PopupTitle());
    EXPECT_EQ("COULD NOT LOAD DRIVER FILE", PopupText());
    EXPECT_EQ(0, memcmp(&before, Profile(), sizeof before));
}

TEST_F(DriverScreensTest, DeletingTheCurrentDriverForgetsItAndDeletingTheLastReturnsToTheDriverScreen)
{
    MakeDriver("BOB");
    MakeDriver("EVE");
    snprintf(Profile()->name, sizeof Profile()->name, "EVE");
    ASSERT_TRUE(game->GetUsers()->LoadCurrentUser());
    Settings()->SetLastDriverName("EVE");
    Restart(SCREEN_USER);
    ASSERT_TRUE(Click(UsersCC::BUT_OTHER));
    ASSERT_EQ(SCREEN_ULOD, screens->GetCurrentScreen());

    SelectDriver("EVE");
    ASSERT_TRUE(Click(UsersLoadCC::BUT_DELETE));
    EXPECT_EQ("DELETE DRIVER", PopupTitle());
    EXPECT_EQ("ARE YOU SURE YOU WISH TO DELETE DRIVER \"EVE\" ?", PopupText());
    ASSERT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));
    EXPECT_FALSE(Exists(DriverFile("EVE")));
    EXPECT_STREQ("", Profile()->name);
    EXPECT_EQ(0, Profile()->user_id) << "the save on quit writes nothing back";
    EXPECT_STREQ("", Settings()->GetLastDriverName());
    EXPECT_EQ(SCREEN_ULOD, screens->GetCurrentScreen());
    EXPECT_EQ(0, static_cast<UsersLoadCC*>(Current())->GetSelected());

    ASSERT_TRUE(Click(UsersLoadCC::BUT_DELETE));
    EXPECT_EQ("ARE YOU SURE YOU WISH TO DELETE DRIVER \"BOB\" ?", PopupText());
    ASSERT_TRUE(AnswerPopup(MWIN_POPUP_OK_ID));
    EXPECT_FALSE(Exists(DriverFile("BOB")));
    EXPECT_EQ(SCREEN_USER, screens->GetCurrentScreen());
    EXPECT_FALSE(Button(UsersCC::BUT_OTHER)->IsEnabled());
    EXPECT_FALSE(Button(UsersCC::BUT_CONTINUE)->IsShown());
}
