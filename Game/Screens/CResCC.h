#pragma once

// The championship race result screen (CRES): the places of a stage, the points each earned and the totals;
// CONTINUE adds the points, moves to the next stage and saves. It also decides where Escape in a
// championship race leads, and completes a race the player abandons.

#include "Game/ChampClass.h"
#include "Game/Screens/CResCollectionController.h"

class CResCC : public CResCollectionController
{
public:
    explicit CResCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    void GotoPauseOrResultScreen();
    // The rest of the field raced to the finish with the player last, then the result.
    void CompleteAbandonedRace();

    int GetEarnedPoints(int car) const { return m_earned[car]; }

private:
    void FillRow(int place, int car);
    void BlankRow(int place);
    void ContinueChampionship();
    void ClearPlayerTime();

    int m_stage_points[CHAMP_CARS];
    int m_earned[CHAMP_CARS] = {};
};
