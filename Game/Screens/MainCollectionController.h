#pragma once

// The layout of the main menu (MAIN): collection "Main", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class MainCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_VIEW_LICENSE,
        BUT_TIME_TRIAL,
        BUT_QUICK_RACE,
        BUT_CHAMP,
        BUT_LUPDATE,
        BUT_TEST,
        BUT_EXIT,
        BUT_DRIVER,
        BUT_GAMES,
        BUT_ABOUT,
        BUT_OPTIONS,
        BUT_HOME_PAGE,
        BUT_FORUMS,
        BUT_STATS_BG,
        BUT_CUR_LEVEL,
        BUT_CUR_CLASS,
        NUM_BUTTONS
    };

    explicit MainCollectionController(MWinScreens* screens);
};
