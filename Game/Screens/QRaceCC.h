#pragma once

// The quick race set-up screen (QRCE): one race on a chosen track, over a chosen number of laps, against the
// computer drivers the player ticks, at the driver's current class and level.

#include "Game/Screens/QRaceCollectionController.h"

constexpr int QRACE_NUM_LAPS = 12;
extern const int qrace_laps[QRACE_NUM_LAPS];

class QRaceCC : public QRaceCollectionController
{
public:
    explicit QRaceCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    int GetLapsIndex() const { return m_laps_index; }

private:
    void StartRace();
    void KeepLapsAndLeave(EngScreenID screen);
    void SetupOpponentNames();

    int m_laps_index = 0;
};
