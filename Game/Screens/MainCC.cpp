#include "Game/Screens/MainCC.h"

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngInternet.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngMisc.h"
#include "Engine/Core/EngProgram.h"
#include "Engine/MWin/MWin.h"
#include "Game/Game.h"
#include "Game/SettingsClass.h"
#include "Game/Screens/GameAds.h"
#include "Game/Screens/GameAdsCC.h"
#include "Game/Screens/TTrialCC.h"
#include "Game/Screens/TorviScreens.h"
#include "Game/Users.h"
#include "Online/Various.h"

namespace {

constexpr const char* kDrivingTestText = "\nCOMPLETE A LAP IN UNDER 12 SECONDS TO PASS THE TEST.\n\n\n"
                                         "PRESS 'A' TO ACCELERATE.\n\nRELEASE 'A' TO SLOW DOWN.\n\n"
                                         "PRESS 'LEFT' & 'RIGHT' TO STEER.\n\n\nGOOD LUCK!\n";
constexpr const char* kHomePagePath = "/torvi/index.html";
constexpr const char* kForumPath = "/forum/index.php";
constexpr const char* kAdsPath = "/torvi/iga/";
constexpr const char* kAdsFromProgram = "Torvi_PC";
constexpr float kPulseSpeed = 2.0f;

// One pulse for the screen, so the green keeps its phase between visits.
float g_update_pulse = 0.0f;

void DrivingTestPopupCB(MWin*, char, void* user)
{
    static_cast<MainCC*>(user)->StartDrivingTest();
}

} // namespace

MainCC::MainCC(MWinScreens* screens) : MainCollectionController(screens)
{
}

void MainCC::StartingCB(void*)
{
    const UserRecord* profile = GetGame()->GetCurrentProfile();
    if (profile->license_test_state != USER_LICENSE_TEST_RUNNING) {
        if (profile->changed) {
            ShowButton(BUT_GAMES, false);
            ShowButton(BUT_ABOUT, false);
            ShowButton(BUT_DRIVER, false);
            ShowButton(BUT_TEST, false);
        } else {
            ShowButton(BUT_LUPDATE, false);
            ShowButton(BUT_TEST, false);
        }
    } else {
        EnableButton(BUT_VIEW_LICENSE, false);
        EnableButton(BUT_TIME_TRIAL, false);
        EnableButton(BUT_QUICK_RACE, false);
        EnableButton(BUT_CHAMP, false);
        ShowButton(BUT_LUPDATE, false);
    }
    ShowButton(BUT_STATS_BG, false);
    ShowButton(BUT_CUR_LEVEL, false);
    ShowButton(BUT_CUR_CLASS, false);
}

void MainCC::TickCB()
{
    MWinButton* update = GetButton(BUT_LUPDATE);
    if (!update || !GetGame()->GetCurrentProfile()->changed)
        return;
    bool passed = false;
    float v = 0.5f * EngMiscAdvancePulse(&g_update_pulse, kPulseSpeed * eng_frame_time, &passed) + 0.5f;
    update->SetTextColour(0.3f * v, v, 0.5f * v, 1.0f);
}

char MainCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo*)
{
    switch (GetButtonIndex(button)) {
    case BUT_VIEW_LICENSE:
        GotoScreen(SCREEN_LICN);
        return 1;
    case BUT_TIME_TRIAL:
        GotoScreen(SCREEN_TTRL);
        return 1;
    case BUT_QUICK_RACE:
        GotoScreen(SCREEN_QRCE);
        return 1;
    case BUT_CHAMP:
        GotoScreen(SCREEN_CLOD);
        return 1;
    case BUT_TEST:
        GetMWin()->PopupMessage(nullptr, kDrivingTestText, DrivingTestPopupCB, this);
        return 1;
    case BUT_OPTIONS:
        GotoScreen(SCREEN_OPTS);
        return 1;
    case BUT_ABOUT:
        GotoScreen(SCREEN_ABOU);
        return 1;
    case BUT_GAMES:
        OtherGamesCB();
        return 1;
    case BUT_DRIVER:
        GetGame()->GetUsers()->SaveCurrentUser();
        GetGame()->GetSettings()->Save();
        GotoScreen(SCREEN_USER);
        return 1;
    case BUT_HOME_PAGE:
        GoOnline(kHomePagePath);
        return 1;
    case BUT_FORUMS:
        GoOnline(kForumPath);
        return 1;
    case BUT_EXIT:
        EngMainRequestQuit();
        return 1;
    default:
        return 0;
    }
}

void MainCC::StartDrivingTest()
{
    UserRecord* profile = GetGame()->GetCurrentProfile();
    profile->formula_zzz = 0;
    profile->classes[0].level_zzz = 0;
    static_cast<TorviScreens*>(GetScreens(1))->GetTTrial()->StartTimeTrial();
}

void MainCC::OtherGamesCB()
{
    GameAdsSetupAdsToBeIncluded();
    GameAdsCC* ads = static_cast<TorviScreens*>(GetScreens(1))->GetGameAds();
    if (!DebugFatalCheck(ads != nullptr, ENG_FUNC, "No game ads CC."))
        return;
    ads->SetNoteFlag(0);
    ads->SetBrowseMode();
    char base[VARIOUS_ADDRESS_SIZE];
    UserRecord* profile = GetGame()->GetCurrentProfile();
    if (EngInternetMakeMakerURL(kAdsPath, base, sizeof base))
        GameAdsSetInternetLinksPath(base, kAdsFromProgram, profile->name);
    int* last_ad = &profile->last_ad;
    GameAdsSetCurGameAdPointer(&last_ad);
    // Each visit starts at the ad after the one shown last.
    GameAdsNextAd();
    GotoScreen(SCREEN_GADS);
}

void MainCC::GoOnline(const char* path)
{
    char address[VARIOUS_ADDRESS_SIZE];
    if (!EngInternetMakeMakerURL(path, address, sizeof address))
        return;
    VariousGoOnline(GetMWin(), nullptr, address, false, false, true, true);
}
