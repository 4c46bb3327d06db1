#pragma once

// The main menu (MAIN).

#include "Game/Screens/MainCollectionController.h"

class MainCC : public MainCollectionController
{
public:
    explicit MainCC(MWinScreens* screens);
};
