#pragma once

// The championship next race screen; for now it shows its layout.

#include "Game/Screens/CRaceCollectionController.h"

class CRaceCC : public CRaceCollectionController
{
public:
    explicit CRaceCC(MWinScreens* screens);
};
