#pragma once

// The racing licence screen; for now it shows its layout.

#include "Game/Screens/LicenseCollectionController.h"

class LicenseCC : public LicenseCollectionController
{
public:
    explicit LicenseCC(MWinScreens* screens);
};
