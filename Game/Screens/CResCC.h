#pragma once

// The championship race result screen; for now it shows its layout.

#include "Game/Screens/CResCollectionController.h"

class CResCC : public CResCollectionController
{
public:
    explicit CResCC(MWinScreens* screens);
};
