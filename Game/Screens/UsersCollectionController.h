#pragma once

// The layout of the driver selection screen (USER): collection "Users", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class UsersCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_NEW,
        BUT_OTHER,
        BUT_CONTINUE,
        BUT_EXIT,
        NUM_BUTTONS
    };

    explicit UsersCollectionController(MWinScreens* screens);
};
