#include "Game/Screens/QResCC.h"

#include <algorithm>
#include <cstdio>

#include "Engine/Core/EngDebug.h"
#include "Engine/MWin/MWin.h"
#include "Game/Car.h"
#include "Game/Game.h"
#include "Game/Levels.h"
#include "Game/Program.h"
#include "Game/Screens/TorviScreens.h"
#include "Game/Sound.h"

namespace {

constexpr int kPlaces = 8;
constexpr float kResBoxMargin = 20.0f;

} // namespace

bool QResCC::AllComputerCarsFinished(const Car* car, int cars)
{
    for (int n = 1; n < cars; n++) {
        if (car->GetRecord(n)->finish_state == CAR_RACING)
            return false;
    }
    return true;
}

int QResCC::CarAtPlace(const Car* car, int cars, int place)
{
    int found = -1;
    for (int n = 0; n < cars; n++) {
        if (car->GetRecord(n)->place == place)
            found = n;
    }
    return found;
}

const char* QResCC::ResultTimeText(const Car* car, int car_number, char* out, int size)
{
    EngUInt32 time = car->GetResultTime(car_number);
    if (time == 0) {
        std::snprintf(out, size_t(size), "%s", "--:--:--");
        return out;
    }
    return Car::GetTimeText(time, out, size);
}

// The computer cars keep their order and close up ahead of the player. A player who never crossed the start
// line had no place in the standings, so the places are given again rather than shifted.
void QResCC::PlacePlayerLast(Game* game)
{
    Car* car = game->GetCar();
    int others[CAR_MAX];
    int count = 0;
    for (int n = 1; n < game->GetCarsInRace() && count < CAR_MAX; n++)
        others[count++] = n;
    std::stable_sort(others, others + count,
                     [car](int a, int b) { return car->GetRecord(a)->place < car->GetRecord(b)->place; });
    for (int place = 0; place < count; place++)
        car->GetRecord(others[place])->place = place;
    car->GetRecord(0)->place = count;
}

QResCC::QResCC(MWinScreens* screens) : QResCollectionController(screens)
{
}

void QResCC::BlankRow(int place)
{
    SetButtonText(BUT_POS1 + place, " ");
    SetButtonText(BUT_NAME1 + place, " ");
    SetButtonText(BUT_TIME1 + place, " ");
}

void QResCC::ShowDriver(Game* game, int car_number, MWinButton* position, MWinButton* name, MWinButton* time)
{
    Levels* levels = game->GetLevels();
    const float* colour = Car::GetColour(levels->GetDriverColour(car_number));
    for (MWinButton* button : {position, name, time}) {
        if (button && colour)
            button->SetTextColour(colour[0], colour[1], colour[2], 1.0f);
    }
    if (name)
        name->SetText(levels->GetDriverName(car_number));
}

void QResCC::FillRow(int place, int car_number, int* bottom)
{
    Car* car = m_game->GetCar();
    ShowDriver(m_game, car_number, GetButton(BUT_POS1 + place), GetButton(BUT_NAME1 + place),
               GetButton(BUT_TIME1 + place));
    char text[CAR_TIME_TEXT_SIZE];
    SetButtonText(BUT_TIME1 + place, ResultTimeText(car, car_number, text, sizeof text));
    if (MWinButton* time_button = GetButton(BUT_TIME1 + place)) {
        float x, y, w, h;
        time_button->GetArea(&x, &y, &w, &h);
        *bottom = int(y + h);
    }
}

void QResCC::StartingCB(void* data)
{
    (void)data;
    int cars = m_game->GetCarsInRace();
    int bottom = -1;
    for (int place = 0; place < kPlaces; place++) {
        int car = CarAtPlace(m_game->GetCar(), cars, place);
        if (car < 0 || place >= cars)
            BlankRow(place);
        else
            FillRow(place, car, &bottom);
    }
    MWinButton* box = GetButton(BUT_RES_BOX);
    if (box && bottom >= 0) {
        float x, y, w, h;
        box->GetArea(&x, &y, &w, &h);
        box->SetEdges(x, y, x + w, float(bottom) + kResBoxMargin);
    }
    MWinButton* fastest = GetButton(BUT_FASTEST_TEXT);
    if (fastest && !ShowFastestLap(m_game, fastest))
        fastest->Hide();
}

// The smallest best lap of the race; on equal times the lower car number.
bool QResCC::ShowFastestLap(Game* game, MWinButton* text)
{
    const Car* car = game->GetCar();
    int fastest = -1;
    for (int n = 0; n < game->GetCarsInRace(); n++) {
        EngUInt32 best = car->GetRecord(n)->best_lap;
        if (best != 0 && (fastest < 0 || best < car->GetRecord(fastest)->best_lap))
            fastest = n;
    }
    if (fastest < 0)
        return false;
    Levels* levels = game->GetLevels();
    const float* colour = Car::GetColour(levels->GetDriverColour(fastest));
    if (colour)
        text->SetTextColour(colour[0], colour[1], colour[2], 1.0f);
    char time[CAR_TIME_TEXT_SIZE];
    text->SetTextF("FASTEST  LAP  %s  BY  %s", Car::GetTimeText(car->GetRecord(fastest)->best_lap, time, sizeof time),
                   levels->GetDriverName(fastest));
    text->Show();
    return true;
}

char QResCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    (void)info;
    switch (GetButtonIndex(button)) {
    case BUT_OPTIONS:
        GotoScreen(SCREEN_OPTS);
        return 1;
    case BUT_QUIT:
        GotoScreen(SCREEN_QRCE);
        return 1;
    default:
        return 0;
    }
}

// The rest runs in the race's own steps, so the computer cars' times are those a watched race gives.
bool QResCC::FinishCurrentRace(Game* game)
{
    Car* car = game->GetCar();
    int cars = game->GetCarsInRace();
    EngUInt32 kept_clock = game_clock_ms;
    car->SetQuietSimulation(true);
    game->GetSound()->StopCarSounds();
    bool finished = AllComputerCarsFinished(car, cars);
    for (int n = 0; n < QRES_MAX_FINISH_STEPS && !finished; n++) {
        game->SimulateRaceStep();
        finished = AllComputerCarsFinished(car, cars);
    }
    car->SetQuietSimulation(false);
    game_clock_ms = kept_clock;
    if (!finished)
        DebugError(ENG_FUNC, "Could not finish race");
    return finished;
}

void QResCC::GotoPauseOrResultScreen()
{
    int cars = m_game->GetCarsInRace();
    const Car* car = m_game->GetCar();
    bool player_finished = car->GetRecord(0)->finish_state != CAR_RACING;
    EngScreenID next = SCREEN_PAUS;
    if (cars > 1 && player_finished) {
        FinishCurrentRace(m_game);
        next = SCREEN_QRES;
    } else if (cars > 1 && AllComputerCarsFinished(car, cars)) {
        PlacePlayerLast(m_game);
        next = SCREEN_QRES;
    }
    m_screens->StartScreen(next, -1);
}
