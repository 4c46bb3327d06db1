#pragma once

// The layout of the pause screen (PAUS): collection "Pause", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class PauseCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_QUIT,
        BUT_TITLE,
        BUT_OPTIONS,
        BUT_RESUME,
        NUM_BUTTONS
    };

    explicit PauseCollectionController(MWinScreens* screens);
};
