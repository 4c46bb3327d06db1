// The sixteen screen layouts against their tables: every screen builds one collection named after it with
// one full-screen window "MainWin" holding its buttons in table order, with their ids, texts and areas.

#include "Engine/MWin/MWinButtonFixture.h"

#include <memory>
#include <string>

#include "Engine/MWin/MWinScreenRegistry.h"
#include "Engine/MWin/MWinGroup.h"
#include "Game/Screens/AboutCollectionController.h"
#include "Game/Screens/CLoadCollectionController.h"
#include "Game/Screens/CNewCollectionController.h"
#include "Game/Screens/CRaceCollectionController.h"
#include "Game/Screens/CResCollectionController.h"
#include "Game/Screens/ControlsCollectionController.h"
#include "Game/Screens/GameAdsCollectionController.h"
#include "Game/Screens/LicenseCollectionController.h"
#include "Game/Screens/MainCollectionController.h"
#include "Game/Screens/OptionsCollectionController.h"
#include "Game/Screens/PauseCollectionController.h"
#include "Game/Screens/QRaceCollectionController.h"
#include "Game/Screens/QResCollectionController.h"
#include "Game/Screens/TTrialCollectionController.h"
#include "Game/Screens/UsersCollectionController.h"
#include "Game/Screens/UsersLoadCollectionController.h"

namespace {

template <class Layout> std::unique_ptr<TorviCollectionController> Make(MWinScreens* screens)
{
    return std::make_unique<Layout>(screens);
}

struct LayoutCase {
    std::unique_ptr<TorviCollectionController> (*make)(MWinScreens*);
    const char* collection;
    int count;
    const char* ids;   // in table order, separated by spaces
    const char* texts; // in table order, separated by "|"; empty for buttons without a text
    float area_sum;    // x + y + w + h over all buttons
};

const LayoutCase kLayouts[] = {
    {&Make<UsersCollectionController>, "Users", 4, "New Other Continue Exit",
     "NEW DRIVER|OTHER DRIVERS|CONTINUE DRIVER|EXIT GAME", 3358.00f},
    {&Make<UsersLoadCollectionController>, "UsersLoad", 5, "Load User Back UsersText Delete",
     "LOAD|UNSET|BACK|SELECT A DRIVER|DELETE", 3522.14f},
    {&Make<MainCollectionController>, "Main", 16, "ViewLicense TimeTrial QuickRace Champ LUpdate Test Exit Driver Games About Options HomePage Forums StatsBg CurLevel CurClass",
     "LICENSE|WORLD TIMES|QUICK RACE|CHAMPIONSHIP|YOUR LICENSE HAS BEEN UPDATED|DRIVING TEST|EXIT|DRIVER|GAMES|CREDITS|OPTIONS|HOME PAGE|FORUMS||FORMULA 1|EXPERT", 11261.35f},
    {&Make<LicenseCollectionController>, "License", 42, "RookieBox AmateurBox SemiProBox ProBox ExpertBox AwardRookie AwardAmateur AwardSemiPro AwardPro AwardExpert RF4 RF3 RF2 RF1 AF4 AF3 AF2 AF1 SF4 SF3 SF2 SF1 PF4 PF3 PF2 PF1 EF4 EF3 EF2 EF1 Back Title LevelText Level FormulaText Formula Info RookieText AmateurText SemiProText ProText ExpertText",
     "||||||||||FORMULA 4|FORMULA 3|FORMULA 2|FORMULA 1|FORMULA 4|FORMULA 3|FORMULA 2|FORMULA 1|FORMULA 4|FORMULA 3|FORMULA 2|FORMULA 1|FORMULA 4|FORMULA 3|FORMULA 2|FORMULA 1|FORMULA 4|FORMULA 3|FORMULA 2|FORMULA 1|MAIN MENU|UNSET'S  RACING  LICENSE|CURRENT LEVEL|UNSET|CURRENT CLASS|UNSET|INFO|ROOKIE|AMATEUR|SEMI PRO|PROFESSIONAL|EXPERT", 28569.54f},
    {&Make<TTrialCollectionController>, "TTrial", 20, "OpionsBox ShowGhost Quit Level TrackBox TrackPicBorder TrackPic Track Start TimesBox TimesWhich TimesRange Times Options OpionsText TimesUpdate TimesSubmit TimesInfo NumLaps GhostReset",
     "|Show Ghost Car|MAIN MENU|ROOKIE   FORMULA 1   RACING||||TRACK|START !!!||FASTEST LAPS|TRACK||OPTIONS|SETTINGS|UPDATE|SUBMIT|No Info.|LAPS: 10|Reset", 14000.40f},
    {&Make<QRaceCollectionController>, "QRace", 19, "Quit Level Title TrackBox TrackPicBorder TrackPic Track Start TimesBox OppText Options Name1 Name2 Name3 Name4 Name5 Name6 Name7 NumLaps",
     "MAIN MENU|ROOKIE   FORMULA 1   RACING|QUICK RACE||||TRACK|RACE  !!!||OPPONENTS|OPTIONS|Name 1|Name 2|Name 3|Name 4|Name 5|Name 6|Name 7|LAPS: 10", 14944.00f},
    {&Make<QResCollectionController>, "QRes", 29, "Quit Title ResBox Options Name1 Name2 Name3 Name4 Name5 Name6 Name7 Name8 Pos1 Pos2 Pos3 Pos4 Pos5 Pos6 Pos7 Pos8 Time1 Time2 Time3 Time4 Time5 Time6 Time7 Time8 FastestText",
     "DONE|QUICK RACE RESULTS||OPTIONS|Name 1|Name 2|Name 3|Name 4|Name 5|Name 6|Name 7|Name 8|1.|2.|3.|4.|5.|6.|7.|8.|00:00:00|00:00:00|00:11:00|00:00:00|00:00:43|01:00:00|00:00:00|00:00:00|FASTEST LAP 00:00:00 BY NAME", 18726.00f},
    {&Make<CLoadCollectionController>, "CLoad", 36, "Quit Title TimesBox Options Name1 Name2 Name3 Name4 Name5 Name6 Name7 Name8 New1 New2 New3 New4 New5 New6 New7 New8 Load1 Load2 Load3 Load4 Load5 Load6 Load7 Load8 Delete1 Delete2 Delete3 Delete4 Delete5 Delete6 Delete7 Delete8",
     "MAIN MENU|CREATE / LOAD CHAMPIONSHIP||OPTIONS|Slot 1|Slot 2|Slot 3|Slot 4|Slot 5|Slot 6|Slot 7|Slot 8|New|New|New|New|New|New|New|New|Load|Load|Load|Load|Load|Load|Load|Load|Delete|Delete|Delete|Delete|Delete|Delete|Delete|Delete", 26756.00f},
    {&Make<CNewCollectionController>, "CNew", 8, "Quit Level Title NewBox Options LengthText RaceLength Cont",
     "MAIN MENU|ROOKIE   FORMULA 1   RACING|CHAMPIONSHIP||OPTIONS|RACES LENGTH:|Delete|CONTINUE", 6114.00f},
    {&Make<CRaceCollectionController>, "CRace", 29, "Quit Level Title TrackBox TrackPicBorder TrackPic Track Start TimesBox OppText Options Name1 Name2 Name3 Name4 Name5 Name6 Name7 Name8 Pos1 Pos2 Pos3 Pos4 Pos5 Pos6 Pos7 Pos8 Over NumLaps",
     "MAIN MENU|ROOKIE   FORMULA 1   RACING|CHAMPIONSHIP||||STAGE 2|RACE  !!!||LEADERBOARD|OPTIONS|Name 1|Name 2|Name 3|Name 4|Name 5|Name 6|Name 7|Name 8|100|100|100|100|100|100|100|100|CHAMPIONSHIP  COMPLETED|LAPS: 10", 23541.00f},
    {&Make<CResCollectionController>, "CRes", 49, "Cont Title ResBox Name1 Name2 Name3 Name4 Name5 Name6 Name7 Name8 Pos1 Pos2 Pos3 Pos4 Pos5 Pos6 Pos7 Pos8 Time1 Time2 Time3 Time4 Time5 Time6 Time7 Time8 FastestText NameText PosText TimeText PointsText TotalText Points1 Points2 Points3 Points4 Points5 Points6 Points7 Points8 Total1 Total2 Total3 Total4 Total5 Total6 Total7 Total8",
     "CONTINUE  CHAMPIONSHIP|CHAMPIONSHIP  RACE  RESULTS||Name 1|Name 2|Name 3|Name 4|Name 5|Name 6|Name 7|Name 8|1.|2.|3.|4.|5.|6.|7.|8.|00:00:00|00:00:00|00:11:00|00:00:00|00:00:43|01:00:00|00:00:00|00:00:00|FASTEST LAP 00:00:00 BY NAME|Driver|Pos|Time|Points|Total Points|100|100|100|100|100|100|100|100|100|100|100|100|100|100|100|100", 31930.31f},
    {&Make<OptionsCollectionController>, "Options", 27, "Title CarText SteeringText Steering AccelText Accel BrakeText Brake Back Controls ControlsText GraphicsText LeadersText Leaders LapTimeText LapTime NumLapsText NumLaps PositionText Pos MusicTitleText MusicText Music VolText Vol StartupWindowText StartupWindow",
     "OPTIONS|CAR|STEERING|UNSET|ACCELERATION|UNSET|BRAKES|UNSET|BACK|SETUP CONTROLS|CONTROLS|GRAPHICS|LEADER TEXTS|UNSET|LAP TIME TEXT|UNSET|NUM LAPS TEXT|UNSET|POSITION TEXT|UNSET|MUSIC|MUSIC|Off|VOLUME|10|STARTUP WINDOW|Off", 19260.00f},
    {&Make<ControlsCollectionController>, "Controls", 22, "ControllerTitle Controller MappingsTitle MoveLeftRightText LeftRightAxis MovePovText LeftRightPOV MoveLeftText MoveLeft MoveRightText MoveRight LobKeyText AccelAxis FastKeyText Accel PauseGameText PauseGame Reset RedefinePopup Back MoveUpDownText UpDownAxis",
     "CONTROLLER|Unset|MAPPINGS|LEFT / RIGHT AXIS:|Unset|LEFT / RIGHT POV:|Unset|LEFT:|Unset|RIGHT:|Unset|ACCELERATE AXIS:|Unset|ACCELERATE:|Unset|PAUSE GAME:|Unset|RESET|PRESS A CONTROL ON THE CONTROLLER|BACK|UP / DOWN AXIS (MENUS):|Unset", 15937.46f},
    {&Make<PauseCollectionController>, "Pause", 4, "Quit Title Options Resume",
     "QUIT|GAME PAUSED|OPTIONS|RESUME", 3307.00f},
    {&Make<AboutCollectionController>, "About", 9, "Creator CreatedText Back Font FontText Creator2 Font2 Music MusicText",
     "|CREATED  BY|BACK||GAME FONT||||GAME MUSIC", 7262.00f},
    {&Make<GameAdsCollectionController>, "GameAds", 15, "AlsoText Title Desc1 Pic1Bg Pic1 Desc2 Desc3 Pic2Bg Pic2 Download Prev Next Back PicCenBg PicCen",
     "also by Ostrelmark...|GAME TITLE|Line 1 of the game description text.|||Line 2 of the game description text.|Line 3 of the game description text.|||Download|Prev|Next|Back||", 11504.67f},
};

struct BuiltButtons {
    std::string ids;
    std::string texts;
    float area_sum = 0;
    int count = 0;
};

BuiltButtons Walk(MWinWindow* window)
{
    BuiltButtons built;
    for (MWinGroup* group = window->GetFirstGroup(); group; group = group->GetNext())
        for (MWinButton* button = group->GetFirstButton(); button; button = button->GetNext()) {
            built.ids += std::string(built.count ? " " : "") + button->GetID();
            const char* text = button->HasText(0) ? button->GetTextP(0) : "";
            built.texts += std::string(built.count ? "|" : "") + (text ? text : "");
            float x, y, w, h;
            button->GetArea(&x, &y, &w, &h);
            built.area_sum += x + y + w + h;
            built.count++;
        }
    return built;
}

} // namespace

class ScreenLayoutsTest : public MWinFixture {
protected:
    void SetUp() override
    {
        MWinFixture::SetUp();
        screens = std::make_unique<MWinScreens>(mwin, 0);
    }
    void TearDown() override
    {
        mwin->GetDesktop()->RemoveAllCollections();
        screens.reset();
        MWinFixture::TearDown();
    }
    std::unique_ptr<MWinScreens> screens;
};

TEST_F(ScreenLayoutsTest, EveryLayoutBuildsItsTableInOneFullScreenWindow)
{
    for (const LayoutCase& expected : kLayouts) {
        SCOPED_TRACE(expected.collection);
        std::unique_ptr<TorviCollectionController> layout = expected.make(screens.get());
        EXPECT_EQ(layout->GetScreens(0), screens.get());
        ASSERT_EQ(1, layout->CreateCollection(mwin));
        MWinCollection* collection = mwin->GetDesktop()->GetCollectionFromID(expected.collection, 0);
        ASSERT_NE(nullptr, collection);
        EXPECT_EQ(collection, layout->GetCollection());
        MWinWindow* window = collection->GetWindowFromID("MainWin", 0);
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(window, layout->GetMainWin());
        EXPECT_EQ(window->GetController(0), layout.get()) << "the window's buttons report to the screen";
        const _Dimension& area = window->GetRequestedArea();
        EXPECT_EQ(0, area.x);
        EXPECT_EQ(0, area.y);
        EXPECT_EQ(640, area.w);
        EXPECT_EQ(480, area.h);

        BuiltButtons built = Walk(window);
        EXPECT_EQ(expected.count, built.count);
        EXPECT_EQ(expected.count, layout->GetNumButtons());
        EXPECT_EQ(expected.ids, built.ids);
        EXPECT_EQ(expected.texts, built.texts);
        EXPECT_NEAR(expected.area_sum, built.area_sum, 0.05f);
        for (int i = 0; i < layout->GetNumButtons(); i++) {
            MWinButton* button = layout->GetButton(i);
            ASSERT_NE(nullptr, button);
            EXPECT_EQ(i, layout->GetButtonIndex(button));
        }

        mwin->GetDesktop()->RemoveAllCollections();
        layout->ClearPointers();
        EXPECT_EQ(nullptr, layout->GetButton(0));
        EXPECT_EQ(-1, layout->GetButtonIndex(nullptr));
    }
}
