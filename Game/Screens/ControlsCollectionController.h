#pragma once

// The layout of the controller mappings screen (CTRL): collection "Controls", its window "MainWin"
// and its buttons.

#include "Game/Screens/TorviCollectionController.h"

class ControlsCollectionController : public TorviCollectionController
{
public:
    enum ButtonIndex
    {
        BUT_CONTROLLER_TITLE,
        BUT_CONTROLLER,
        BUT_MAPPINGS_TITLE,
        BUT_MOVE_LEFT_RIGHT_TEXT,
        BUT_LEFT_RIGHT_AXIS,
        BUT_MOVE_POV_TEXT,
        BUT_LEFT_RIGHT_POV,
        BUT_MOVE_LEFT_TEXT,
        BUT_MOVE_LEFT,
        BUT_MOVE_RIGHT_TEXT,
        BUT_MOVE_RIGHT,
        BUT_LOB_KEY_TEXT,
        BUT_ACCEL_AXIS,
        BUT_FAST_KEY_TEXT,
        BUT_ACCEL,
        BUT_PAUSE_GAME_TEXT,
        BUT_PAUSE_GAME,
        BUT_RESET,
        BUT_REDEFINE_POPUP,
        BUT_BACK,
        BUT_MOVE_UP_DOWN_TEXT,
        BUT_UP_DOWN_AXIS,
        NUM_BUTTONS
    };

    explicit ControlsCollectionController(MWinScreens* screens);
};
