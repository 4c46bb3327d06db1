#include "Game/Screens/QRaceCC.h"

#include "Engine/MWin/MWin.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/Menus.h"
#include "Game/Screens/RaceNames.h"
#include "Game/Screens/TorviScreens.h"
#include "Game/Users.h"

const int qrace_laps[QRACE_NUM_LAPS] = {1, 3, 5, 10, 15, 20, 25, 50, 75, 100, 150, 200};

namespace {

const char* const kLapsTexts[QRACE_NUM_LAPS] = {"LAPS:  1",  "LAPS:  3",  "LAPS:  5",   "LAPS:  10",
                                                "LAPS:  15", "LAPS:  20", "LAPS:  25",  "LAPS:  50",
                                                "LAPS:  75", "LAPS:  100", "LAPS:  150", "LAPS:  200"};
constexpr float kNameScale = 1.1f;

} // namespace

QRaceCC::QRaceCC(MWinScreens* screens) : QRaceCollectionController(screens)
{
}

void QRaceCC::StartingCB(void* data)
{
    (void)data;
    UserRecord* profile = m_game->GetCurrentProfile();
    int formula = profile->formula_zzz;
    if (MWinButton* level = GetButton(BUT_LEVEL))
        level->SetTextF("%s  RACING", RaceNamesGetLevel(formula >= 0 && formula < USER_NUM_CLASSES
                                                            ? profile->classes[formula].level_zzz
                                                            : -1));
    if (MWinButton* title = GetButton(BUT_TITLE))
        title->SetTextF("%s  -  QUICK RACE", RaceNamesGetClass(formula));
    m_game->GetMenus()->LoadPictures();
    BindArrowChoice(BUT_TRACK, RACE_NAMES_TRACKS, race_track_names, &profile->quick_race_track, MWIN_FIRE_ALWAYS);
    for (int index = 0; index < QRACE_NUM_LAPS; index++) {
        if (qrace_laps[index] == profile->quick_race_laps)
            m_laps_index = index;
    }
    BindArrowChoice(BUT_NUM_LAPS, QRACE_NUM_LAPS, kLapsTexts, &m_laps_index, MWIN_FIRE_NEVER);
    SetEscapeButton(BUT_QUIT);
    SetupOpponentNames();
}

// Every computer driver in its grid position, so that each tick box shows a name in its driver's colour.
void QRaceCC::SetupOpponentNames()
{
    Levels* levels = m_game->GetLevels();
    int all[LEVELS_NUM_DRIVERS];
    for (int driver = 0; driver < LEVELS_NUM_DRIVERS; driver++)
        all[driver] = driver;
    levels->SetupRaceOpponents(LEVELS_NUM_DRIVERS, all);
    UserRecord* profile = m_game->GetCurrentProfile();
    for (int i = 0; i < USER_NUM_OPPONENTS; i++) {
        MWinButton* name = GetButton(BUT_NAME1 + i);
        if (!name)
            continue;
        const float* colour = Car::GetColour(levels->GetDriverColour(i + 1));
        if (colour)
            name->SetTextColour(colour[0], colour[1], colour[2], 1.0f);
        name->SetText(levels->GetDriverName(i + 1));
        name->SetTextScale(kNameScale, kNameScale);
        name->CheckboxRegisterCharVariable(reinterpret_cast<char*>(&profile->quick_race_opponents[i]),
                                           MWIN_FIRE_NEVER);
    }
}

char QRaceCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    (void)info;
    switch (GetButtonIndex(button)) {
    case BUT_TRACK:
        m_game->GetMenus()->AttachPictureToButton(m_game->GetCurrentProfile()->quick_race_track,
                                                  GetButton(BUT_TRACK_PIC), -1);
        return 1;
    case BUT_START:
        StartRace();
        return 1;
    case BUT_OPTIONS:
        KeepLapsAndLeave(SCREEN_OPTS);
        return 1;
    case BUT_QUIT:
        KeepLapsAndLeave(SCREEN_MAIN);
        return 1;
    default:
        return 0;
    }
}

void QRaceCC::KeepLapsAndLeave(EngScreenID screen)
{
    m_game->GetCurrentProfile()->quick_race_laps = qrace_laps[m_laps_index];
    m_game->GetMenus()->ReleasePictures();
    GotoScreen(screen);
}

void QRaceCC::StartRace()
{
    UserRecord* profile = m_game->GetCurrentProfile();
    int opponents[LEVELS_NUM_DRIVERS] = {-1, -1, -1, -1, -1, -1, -1};
    int count = 0;
    for (int driver = 0; driver < USER_NUM_OPPONENTS; driver++) {
        if (profile->quick_race_opponents[driver])
            opponents[count++] = driver;
    }
    m_game->GetLevels()->SetupRaceOpponents(count, opponents);
    profile->quick_race_laps = qrace_laps[m_laps_index];
    m_game->GetCar()->SetLaps(profile->quick_race_laps);
    if (!m_game->SetupRace(GAME_TYPE_QUICK_RACE, profile->quick_race_track, count + 1, false, -1, -1)) {
        m_mwinp->PopupMessage("ERROR", "PROBLEM SETTING UP RACE");
        return;
    }
    m_game->GetMenus()->ReleasePictures();
    m_game->StartRace(true);
}
