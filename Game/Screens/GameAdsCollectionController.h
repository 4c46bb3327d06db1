#pragma once

// The layout of the product ads screen (GADS): collection "GameAds", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class GameAdsCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_ALSO_TEXT,
        BUT_TITLE,
        BUT_DESC1,
        BUT_PIC1,
        BUT_DESC2,
        BUT_DESC3,
        BUT_PIC2,
        BUT_DOWNLOAD,
        BUT_PREV,
        BUT_NEXT,
        BUT_BACK,
        BUT_PIC_CEN,
        NUM_BUTTONS
    };

    explicit GameAdsCollectionController(MWinScreens* screens);
};
