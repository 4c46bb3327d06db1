#pragma once

// The layout of the quick race set-up screen (QRCE): collection "QRace", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class QRaceCollectionController : public TorviCollectionController
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
        BUT_NUM_LAPS,
        NUM_BUTTONS
    };

    explicit QRaceCollectionController(MWinScreens* screens);
};
