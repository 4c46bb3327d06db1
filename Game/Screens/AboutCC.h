#pragma once

// The credits screen (ABOU): who made the game, its font and its music; BACK returns.

#include "Game/Screens/AboutCollectionController.h"

class AboutCC : public AboutCollectionController
{
public:
    explicit AboutCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;
};
