#pragma once

// The options screen; for now it shows its layout.

#include "Game/Screens/OptionsCollectionController.h"

class OptionsCC : public OptionsCollectionController
{
public:
    explicit OptionsCC(MWinScreens* screens);
};
