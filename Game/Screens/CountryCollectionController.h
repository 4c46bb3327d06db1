#pragma once

// The layout of the country choice screen (mCTY): collection "Country", its window "MainWin", a title, the
// paged list of countries with a strip for each entry's flag, a note and the button that goes on.

#include "Game/Screens/TorviCollectionController.h"

class CountryCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_TITLE,
        BUT_COUNTRY,
        BUT_NOTE,
        BUT_CONTINUE,
        NUM_BUTTONS
    };

    explicit CountryCollectionController(MWinScreens* screens);
};
