#pragma once

// The country choice screen (mCTY): the player picks a country from the list of 222, each entry beside its
// flag; the player's own country is chosen to begin with when the system tells it.

#include "Game/Screens/CountryCollectionController.h"

class CountryCC : public CountryCollectionController
{
public:
    explicit CountryCC(MWinScreens* screens);

    void StartingCB(void* data) override;
    void RenderCB(int pass) override;
    char ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info) override;

private:
    void ApplyInsets();
    void Continue();
};
