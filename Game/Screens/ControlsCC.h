#pragma once

// The controller mappings screen; for now it shows its layout.

#include "Game/Screens/ControlsCollectionController.h"

class ControlsCC : public ControlsCollectionController
{
public:
    explicit ControlsCC(MWinScreens* screens);
};
