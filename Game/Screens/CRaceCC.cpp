#include "Game/Screens/CRaceCC.h"

#include <algorithm>

#include "Engine/MWin/MWin.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/Menus.h"
#include "Game/Screens/CLoadCC.h"
#include "Game/Screens/RaceNames.h"
#include "Game/Screens/TorviScreens.h"
#include "Game/Users.h"

namespace {

constexpr int kTrophyPicture = 100;
const char* const kFinalTexts[CHAMP_CARS] = {"YOU WON !",          "YOU PLACED SECOND !", "YOU PLACED THIRD !",
                                             "YOU RANKED FOURTH",  "YOU RANKED FIFTH",    "YOU RANKED SIXTH",
                                             "YOU RANKED SEVENTH", "YOU RANKED LAST"};

} // namespace

CRaceCC::CRaceCC(MWinScreens* screens) : CRaceCollectionController(screens)
{
}

void CRaceCC::SortLeaderboard(const ChampRecord& record, ChampStanding board[CHAMP_CARS])
{
    for (int driver = 0; driver < CHAMP_CARS; driver++)
        board[driver] = {driver, record.points[driver]};
    std::stable_sort(board, board + CHAMP_CARS,
                     [](const ChampStanding& a, const ChampStanding& b) { return a.points > b.points; });
}

void CRaceCC::GrantAwards(UserRecord* profile, int formula, int level, int place)
{
    if (formula < 0 || formula >= USER_NUM_CLASSES || level < 0 || level >= USER_NUM_LEVELS)
        return;
    UserClassRecord* held = &profile->classes[formula];
    if (place >= 0 && place <= 2 && level < USER_NUM_LEVELS - 1 && !held->have_license[level + 1]) {
        held->have_license[level + 1] = 1;
        profile->changed = 1;
    }
    int award = 3 - place;
    if (place >= 0 && place <= 2 && level == USER_NUM_LEVELS - 1 && held->best_expert_result < award) {
        held->best_expert_result = award;
        profile->changed = 1;
    }
    if (place == 0 && formula < USER_NUM_CLASSES - 1 && !profile->classes[formula + 1].have_license[0]) {
        profile->classes[formula + 1].have_license[0] = 1;
        profile->changed = 1;
    }
}

void CRaceCC::StartingCB(void* data)
{
    (void)data;
    ChampRecord* record = m_game->GetChamp()->GetRecord();
    m_player_place = -1;
    if (MWinButton* level = GetButton(BUT_LEVEL))
        level->SetTextF("%s  RACING", RaceNamesGetLevel(record->level));
    if (MWinButton* title = GetButton(BUT_TITLE))
        title->SetTextF("%s  CHAMPIONSHIP", RaceNamesGetClass(record->formula));
    m_game->GetMenus()->LoadPictures();
    int all[LEVELS_NUM_DRIVERS];
    for (int driver = 0; driver < LEVELS_NUM_DRIVERS; driver++)
        all[driver] = driver;
    m_game->GetLevels()->SetupRaceOpponents(LEVELS_NUM_DRIVERS, all);
    ShowLeaderboard();
    if (record->stage < CHAMP_STAGES)
        ShowStage(record);
    else
        ShowFinalPlace();
    SetEscapeButton(BUT_QUIT);
}

void CRaceCC::ShowLeaderboard()
{
    SortLeaderboard(*m_game->GetChamp()->GetRecord(), m_board);
    Levels* levels = m_game->GetLevels();
    for (int row = 0; row < CHAMP_CARS; row++) {
        int driver = m_board[row].driver;
        const float* colour = Car::GetColour(levels->GetDriverColour(driver));
        for (int first : {BUT_NAME1, BUT_POS1}) {
            MWinButton* button = GetButton(first + row);
            if (button && colour)
                button->SetTextColour(colour[0], colour[1], colour[2], 1.0f);
        }
        SetButtonText(BUT_NAME1 + row, levels->GetDriverName(driver));
        if (MWinButton* points = GetButton(BUT_POS1 + row))
            points->SetTextF("%d", m_board[row].points);
        if (driver == 0)
            m_player_place = row;
    }
}

void CRaceCC::ShowStage(ChampRecord* record)
{
    m_game->GetMenus()->AttachPictureToButton(record->stage, GetButton(BUT_TRACK_PIC), -1);
    m_game->GetChamp()->SetupRace();
    if (MWinButton* laps = GetButton(BUT_NUM_LAPS))
        laps->SetTextF("Laps: %d", record->laps);
    ShowButton(BUT_NUM_LAPS, true);
    ShowButton(BUT_START, true);
    ShowButton(BUT_OVER, false);
    if (MWinButton* track = GetButton(BUT_TRACK))
        track->SetTextF("STAGE  %d", record->stage + 1);
}

void CRaceCC::ShowFinalPlace()
{
    int place = m_player_place;
    int trophy = kTrophyPicture + (place >= 0 && place <= 2 ? place : 3);
    m_game->GetMenus()->AttachPictureToButton(trophy, GetButton(BUT_TRACK_PIC), -1);
    ShowButton(BUT_NUM_LAPS, false);
    ShowButton(BUT_START, false);
    ShowButton(BUT_OVER, true);
    SetButtonText(BUT_TRACK, place >= 0 && place < CHAMP_CARS ? kFinalTexts[place] : "-");
}

char CRaceCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    (void)info;
    switch (GetButtonIndex(button)) {
    case BUT_START:
        StartRace();
        return 1;
    case BUT_OPTIONS:
        m_game->GetMenus()->ReleasePictures();
        GotoScreen(SCREEN_OPTS);
        return 1;
    case BUT_QUIT:
        Leave();
        return 1;
    default:
        return 0;
    }
}

void CRaceCC::StartRace()
{
    const ChampRecord* record = m_game->GetChamp()->GetRecord();
    if (record->stage >= CHAMP_STAGES)
        return;
    m_game->GetCar()->SetLaps(record->laps);
    if (!m_game->SetupRace(GAME_TYPE_CHAMPIONSHIP, record->stage, CHAMP_CARS, false, -1, -1)) {
        m_mwinp->PopupMessage("ERROR", "PROBLEM SETTING UP RACE");
        return;
    }
    m_game->GetMenus()->ReleasePictures();
    m_game->StartRace(true);
}

void CRaceCC::Leave()
{
    const ChampRecord* record = m_game->GetChamp()->GetRecord();
    if (record->stage >= CHAMP_STAGES)
        GrantAwards(m_game->GetCurrentProfile(), record->formula, record->level, m_player_place);
    m_game->GetScreens()->GetCLoad()->SaveChampionship();
    m_game->GetMenus()->ReleasePictures();
    GotoScreen(SCREEN_MAIN);
}
