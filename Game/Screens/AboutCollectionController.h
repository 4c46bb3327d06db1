#pragma once

// The layout of the credits screen (ABOU): collection "About", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class AboutCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_CREATOR,
        BUT_CREATED_TEXT,
        BUT_BACK,
        BUT_FONT,
        BUT_FONT_TEXT,
        BUT_CREATOR2,
        BUT_FONT2,
        BUT_MUSIC,
        BUT_MUSIC_TEXT,
        NUM_BUTTONS
    };

    explicit AboutCollectionController(MWinScreens* screens);
};
