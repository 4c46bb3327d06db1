#pragma once

// The pause screen (PAUS).

#include "Game/Screens/PauseCollectionController.h"

class PauseCC : public PauseCollectionController
{
public:
    explicit PauseCC(MWinScreens* screens);
};
