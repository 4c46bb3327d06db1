#pragma once

// The other drivers screen (ULOD).

#include "Game/Screens/UsersLoadCollectionController.h"

class UsersLoadCC : public UsersLoadCollectionController
{
public:
    explicit UsersLoadCC(MWinScreens* screens);
};
