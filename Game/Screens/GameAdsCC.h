#pragma once

// The product ads screen; for now it shows its layout.

#include "Game/Screens/GameAdsCollectionController.h"

class GameAdsCC : public GameAdsCollectionController
{
public:
    explicit GameAdsCC(MWinScreens* screens);
};
