#pragma once

// The layout of the other drivers screen (ULOD): collection "UsersLoad", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class UsersLoadCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_LOAD,
        BUT_USER,
        BUT_BACK,
        BUT_USERS_TEXT,
        BUT_DELETE,
        NUM_BUTTONS
    };

    explicit UsersLoadCollectionController(MWinScreens* screens);
};
