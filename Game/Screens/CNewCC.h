#pragma once

// The new championship screen (CNEW): the race length of a championship just made in its slot.

#include "Game/Screens/CNewCollectionController.h"

class CNewCC : public CNewCollectionController
{
public:
    explicit CNewCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;
};
