#pragma once

// The new championship screen; for now it shows its layout.

#include "Game/Screens/CNewCollectionController.h"

class CNewCC : public CNewCollectionController
{
public:
    explicit CNewCC(MWinScreens* screens);
};
