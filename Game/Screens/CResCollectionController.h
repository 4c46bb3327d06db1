#pragma once

// The layout of the championship race result screen (CRES): collection "CRes", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class CResCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_CONT,
        BUT_TITLE,
        BUT_RES_BOX,
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
        BUT_NAME_TEXT,
        BUT_POS_TEXT,
        BUT_TIME_TEXT,
        BUT_POINTS_TEXT,
        BUT_TOTAL_TEXT,
        BUT_POINTS1,
        BUT_POINTS2,
        BUT_POINTS3,
        BUT_POINTS4,
        BUT_POINTS5,
        BUT_POINTS6,
        BUT_POINTS7,
        BUT_POINTS8,
        BUT_TOTAL1,
        BUT_TOTAL2,
        BUT_TOTAL3,
        BUT_TOTAL4,
        BUT_TOTAL5,
        BUT_TOTAL6,
        BUT_TOTAL7,
        BUT_TOTAL8,
        NUM_BUTTONS
    };

    explicit CResCollectionController(MWinScreens* screens);
};
