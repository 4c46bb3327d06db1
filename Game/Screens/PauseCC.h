#pragma once

// The pause screen (PAUS): resumes the race without the time spent paused, opens the options, or gives the
// race up. A time trial is not paused: it is given up and its screen shown.

#include "Engine/Core/EngTypes.h"
#include "Game/Screens/PauseCollectionController.h"

class PauseCC : public PauseCollectionController
{
public:
    explicit PauseCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    void TickCB() override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    void Resume();
    void QuitCB();
    // After the championship's question: OK (result 1) abandons the race.
    void AbandonConfirmed(char result);

    bool IsRacePaused() const { return m_race_paused; }

private:
    void LeaveRace();

    EngUInt32 m_pause_start = 0;
    // Set from the race's pause until the race goes on or is given up, so that a visit to the options and
    // back does not start the pause afresh and count the time spent there.
    bool m_race_paused = false;
    // A screen change inside a start callback would start another screen under the one starting: the
    // time trial's screen is entered on the next tick instead.
    bool m_leave_for_time_trial = false;
};
