#pragma once

// The layout of the championship next race screen (CRCE): collection "CRace", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class CRaceCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_QUIT,
        BUT_LEVEL,
        BUT_TITLE,
        BUT_TRACK_BOX,
        BUT_TRACK_PIC_BORDER,
        BUT_TRACK_PIC,
        BUT_TRACK,
        BUT_START,
        BUT_TIMES_BOX,
        BUT_OPP_TEXT,
        BUT_OPTIONS,
        BUT_NAME1,
        BUT_NAME2,
        BUT_NAME3,
        BUT_NAME4,
        BUT_NAME5,
        BUT_NAME6,
        BUT_NAME7,
        BUT_NAME8,
        BUT_POS1,
        BUT_POS2,
        BUT_POS3,
        BUT_POS4,
        BUT_POS5,
        BUT_POS6,
        BUT_POS7,
        BUT_POS8,
        BUT_OVER,
        BUT_NUM_LAPS,
        NUM_BUTTONS
    };

    explicit CRaceCollectionController(MWinScreens* screens);
};
