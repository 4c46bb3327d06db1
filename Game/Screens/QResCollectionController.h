#pragma once

// The layout of the quick race result screen (QRES): collection "QRes", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class QResCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_QUIT,
        BUT_TITLE,
        BUT_RES_BOX,
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
        BUT_TIME1,
        BUT_TIME2,
        BUT_TIME3,
        BUT_TIME4,
        BUT_TIME5,
        BUT_TIME6,
        BUT_TIME7,
        BUT_TIME8,
        BUT_FASTEST_TEXT,
        NUM_BUTTONS
    };

    explicit QResCollectionController(MWinScreens* screens);
};
