#pragma once

// The layout of the new championship screen (CNEW): collection "CNew", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class CNewCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_QUIT,
        BUT_LEVEL,
        BUT_TITLE,
        BUT_NEW_BOX,
        BUT_OPTIONS,
        BUT_LENGTH_TEXT,
        BUT_RACE_LENGTH,
        BUT_CONT,
        NUM_BUTTONS
    };

    explicit CNewCollectionController(MWinScreens* screens);
};
