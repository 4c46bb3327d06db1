#pragma once

// The time trial and world times screen; for now it shows its layout.

#include "Game/Screens/TTrialCollectionController.h"

class TTrialCC : public TTrialCollectionController
{
public:
    explicit TTrialCC(MWinScreens* screens);
};
