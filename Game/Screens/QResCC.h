#pragma once

// The quick race result screen (QRES), and the two ways a race ends early that the championship shares:
// the rest of the field driven to the finish at once, and the choice between the pause and the result
// screen when Escape is pressed.

#include "Game/Screens/QResCollectionController.h"

class Car;
class Game;

// The most steps a race is simulated for before it is given up.
constexpr int QRES_MAX_FINISH_STEPS = 100000;

class QResCC : public QResCollectionController
{
public:
    explicit QResCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    // Drives the computer cars to the finish without sound; the race clock is as it was afterwards. False
    // when they did not all finish within the step limit.
    static bool FinishCurrentRace(Game* game);
    // Escape in a quick race: the result screen once the race is decided for the player, else the pause.
    void GotoPauseOrResultScreen();

    static bool AllComputerCarsFinished(const Car* car, int cars);
    // The car at a place; when several share it, the highest car number.
    static int CarAtPlace(const Car* car, int cars, int place);
    // A result row's time, "--:--:--" for a car without one.
    static const char* ResultTimeText(const Car* car, int car_number, char* out, int size);
    // The player's car last, the others in their order ahead of it: the player is still racing, or never
    // reached the start line, when the field is home.
    static void PlacePlayerLast(Game* game);
    // A result row's position, name and time in the car's driver colour, with its driver's name.
    static void ShowDriver(Game* game, int car_number, MWinButton* position, MWinButton* name, MWinButton* time);
    // False, and the line untouched, when no car has a lap time.
    static bool ShowFastestLap(Game* game, MWinButton* text);

private:
    void FillRow(int place, int car, int* bottom);
    void BlankRow(int place);
};
