#pragma once

// The layout of the options screen (OPTS): collection "Options", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class OptionsCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_TITLE,
        BUT_CAR_TEXT,
        BUT_STEERING_TEXT,
        BUT_STEERING,
        BUT_ACCEL_TEXT,
        BUT_ACCEL,
        BUT_BRAKE_TEXT,
        BUT_BRAKE,
        BUT_BACK,
        BUT_CONTROLS,
        BUT_CONTROLS_TEXT,
        BUT_GRAPHICS_TEXT,
        BUT_LEADERS_TEXT,
        BUT_LEADERS,
        BUT_LAP_TIME_TEXT,
        BUT_LAP_TIME,
        BUT_NUM_LAPS_TEXT,
        BUT_NUM_LAPS,
        BUT_POSITION_TEXT,
        BUT_POS,
        BUT_MUSIC_TITLE_TEXT,
        BUT_MUSIC_TEXT,
        BUT_MUSIC,
        BUT_VOL_TEXT,
        BUT_VOL,
        BUT_STARTUP_WINDOW_TEXT,
        BUT_STARTUP_WINDOW,
        NUM_BUTTONS
    };

    explicit OptionsCollectionController(MWinScreens* screens);
};
