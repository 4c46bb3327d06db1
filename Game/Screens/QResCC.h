#pragma once

// The quick race result screen (QRES), and the two ways a race ends early that the championship shares:
// the rest of the field driven to the finish at once, and the choice between the pause and the result
// screen when Escape is pressed.

#include "Game/Screens/QResCollectionController.h"

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

private:
    void FillRow(int place, int car, int* bottom);
    void BlankRow(int place);
    void ShowFastestLap();
};
