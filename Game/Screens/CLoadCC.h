#pragma once

// The championship slots screen; for now it shows its layout.

#include "Game/Screens/CLoadCollectionController.h"

class CLoadCC : public CLoadCollectionController
{
public:
    explicit CLoadCC(MWinScreens* screens);
};
