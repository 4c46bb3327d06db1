#pragma once

// The layout of the championship slots screen (CLOD): collection "CLoad", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class CLoadCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_QUIT,
        BUT_TITLE,
        BUT_TIMES_BOX,
        BUT_OPTIONS,
        BUT_NAME1,
        BUT_NAME2,
        BUT_NAME3,
        BUT_NAME4,
        BUT_NAME5,
        BUT_NAME6,
        BUT_NAME7,
        BUT_NAME8,
        BUT_NEW1,
        BUT_NEW2,
        BUT_NEW3,
        BUT_NEW4,
        BUT_NEW5,
        BUT_NEW6,
        BUT_NEW7,
        BUT_NEW8,
        BUT_LOAD1,
        BUT_LOAD2,
        BUT_LOAD3,
        BUT_LOAD4,
        BUT_LOAD5,
        BUT_LOAD6,
        BUT_LOAD7,
        BUT_LOAD8,
        BUT_DELETE1,
        BUT_DELETE2,
        BUT_DELETE3,
        BUT_DELETE4,
        BUT_DELETE5,
        BUT_DELETE6,
        BUT_DELETE7,
        BUT_DELETE8,
        NUM_BUTTONS
    };

    explicit CLoadCollectionController(MWinScreens* screens);
};
