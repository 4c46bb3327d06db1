#include "Game/Screens/CResCC.h"

#include "Engine/Core/EngMain.h"
#include "Engine/MWin/MWin.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Screens/CLoadCC.h"
#include "Game/Screens/QResCC.h"
#include "Game/Screens/TorviScreens.h"

namespace {

constexpr int kPointsByPlace[CHAMP_CARS] = {10, 6, 4, 3, 2, 1, 0, 0};
constexpr int kWaitFrames = 3;

} // namespace

CResCC::CResCC(MWinScreens* screens) : CResCollectionController(screens)
{
    for (int place = 0; place < CHAMP_CARS; place++)
        m_stage_points[place] = kPointsByPlace[place];
}

void CResCC::StartingCB(void* data)
{
    (void)data;
    int cars = m_game->GetCarsInRace();
    for (int place = 0; place < CHAMP_CARS; place++)
        m_earned[place] = 0;
    for (int place = 0; place < CHAMP_CARS; place++) {
        int car = QResCC::CarAtPlace(m_game->GetCar(), cars, place);
        if (car < 0 || place >= cars)
            BlankRow(place);
        else
            FillRow(place, car);
    }
    if (MWinButton* fastest = GetButton(BUT_FASTEST_TEXT))
        QResCC::ShowFastestLap(m_game, fastest);
}

void CResCC::BlankRow(int place)
{
    for (int first : {BUT_POS1, BUT_NAME1, BUT_TIME1, BUT_POINTS1, BUT_TOTAL1})
        SetButtonText(first + place, " ");
}

void CResCC::FillRow(int place, int car_number)
{
    QResCC::ShowDriver(m_game, car_number, GetButton(BUT_POS1 + place), GetButton(BUT_NAME1 + place),
                       GetButton(BUT_TIME1 + place));
    char text[CAR_TIME_TEXT_SIZE];
    SetButtonText(BUT_TIME1 + place, QResCC::ResultTimeText(m_game->GetCar(), car_number, text, sizeof text));
    m_earned[car_number] = m_stage_points[place];
    if (MWinButton* points = GetButton(BUT_POINTS1 + place))
        points->SetTextF("%d", m_earned[car_number]);
    if (MWinButton* total = GetButton(BUT_TOTAL1 + place))
        total->SetTextF("%d", m_game->GetChamp()->GetRecord()->points[car_number] + m_earned[car_number]);
}

char CResCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    (void)info;
    if (GetButtonIndex(button) != BUT_CONT)
        return 0;
    ContinueChampionship();
    return 1;
}

void CResCC::ContinueChampionship()
{
    ChampRecord* record = m_game->GetChamp()->GetRecord();
    for (int car = 0; car < CHAMP_CARS; car++) {
        record->points[car] += m_earned[car];
        m_earned[car] = 0;
    }
    if (record->stage < CHAMP_STAGES)
        record->stage++;
    m_game->GetScreens()->GetCLoad()->SaveChampionship();
    GotoScreen(SCREEN_CRCE);
}

void CResCC::ClearPlayerTime()
{
    CarRecord* player = m_game->GetCar()->GetRecord(0);
    player->race_time = 0;
    player->current_lap_time = 0;
}

void CResCC::GotoPauseOrResultScreen()
{
    Car* car = m_game->GetCar();
    int cars = m_game->GetCarsInRace();
    if (car->GetRecord(0)->finish_state != CAR_RACING) {
        QResCC::FinishCurrentRace(m_game);
        m_screens->StartScreen(SCREEN_CRES, -1);
        return;
    }
    if (cars > 1 && !QResCC::AllComputerCarsFinished(car, cars)) {
        m_screens->StartScreen(SCREEN_PAUS, -1);
        return;
    }
    QResCC::PlacePlayerLast(m_game);
    ClearPlayerTime();
    m_screens->StartScreen(SCREEN_CRES, -1);
}

void CResCC::CompleteAbandonedRace()
{
    m_mwinp->PopupWait("PLEASE WAIT", "COMPLETING RACE");
    for (int frame = 0; frame < kWaitFrames; frame++)
        EngMainRenderFrameNow(true, true);
    m_mwinp->PopupCloseIfOn();
    QResCC::FinishCurrentRace(m_game);
    QResCC::PlacePlayerLast(m_game);
    ClearPlayerTime();
    GotoScreen(SCREEN_CRES);
}

