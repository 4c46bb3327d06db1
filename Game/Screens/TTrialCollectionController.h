#pragma once

// The layout of the time trial and world times screen (TTRL): collection "TTrial", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class TTrialCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_OPIONS_BOX,
        BUT_SHOW_GHOST,
        BUT_QUIT,
        BUT_LEVEL,
        BUT_TRACK_BOX,
        BUT_TRACK_PIC_BORDER,
        BUT_TRACK_PIC,
        BUT_TRACK,
        BUT_START,
        BUT_TIMES_BOX,
        BUT_TIMES_WHICH,
        BUT_TIMES_RANGE,
        BUT_TIMES,
        BUT_OPTIONS,
        BUT_OPIONS_TEXT,
        BUT_TIMES_UPDATE,
        BUT_TIMES_SUBMIT,
        BUT_TIMES_INFO,
        BUT_NUM_LAPS,
        BUT_GHOST_RESET,
        NUM_BUTTONS
    };

    explicit TTrialCollectionController(MWinScreens* screens);
};
