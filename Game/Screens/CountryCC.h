#pragma once

// The country choice screen (mCTY).

#include "Game/Screens/CountryCollectionController.h"

class CountryCC : public CountryCollectionController
{
public:
    explicit CountryCC(MWinScreens* screens);
};
