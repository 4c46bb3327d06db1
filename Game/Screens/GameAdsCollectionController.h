#pragma once

// The layout of the product ads screen (GADS): collection "GameAds", its window "MainWin"
// and its buttons. Each picture lies on a frame of its own, drawn under it, for pictures that fill their
// rectangle.

#include "Game/Screens/TorviCollectionController.h"

class GameAdsCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_ALSO_TEXT,
        BUT_TITLE,
        BUT_DESC1,
        BUT_PIC1_BG,
        BUT_PIC1,
        BUT_DESC2,
        BUT_DESC3,
        BUT_PIC2_BG,
        BUT_PIC2,
        BUT_DOWNLOAD,
        BUT_PREV,
        BUT_NEXT,
        BUT_BACK,
        BUT_PIC_CEN_BG,
        BUT_PIC_CEN,
        NUM_BUTTONS
    };

    explicit GameAdsCollectionController(MWinScreens* screens);
};
