#pragma once

// The driver selection screen (USER).

#include "Game/Screens/UsersCollectionController.h"

class UsersCC : public UsersCollectionController
{
public:
    explicit UsersCC(MWinScreens* screens);
};
