#include "Game/Screens/ControlsCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"ControllerTitle", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "CONTROLLER", 116, 101, 408, 13,
     {1, 1, 1, 1}, {1.8f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Controller", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "Unset", 195, 128, 250, 22,
     {1, 0.9f, 0.3f, 0.9f}, {1.2f, 0.9f}, MWIN_ALIGN_CENTRE},
    // As tall as the title above it about the same middle: 11 units high, the button cut its letters off.
    {"MappingsTitle", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "MAPPINGS", 223, 188, 195, 13,
     {1, 1, 1, 1}, {1.8f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"MoveLeftRightText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "LEFT / RIGHT AXIS:", 73.62f, 223, 238.38f, 18,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_RIGHT},
    {"LeftRightAxis", MWIN_BUT_PUSH, "Main", "Unset", 313, 223, 208.29f, 18,
     {1, 0.9f, 0.3f, 1}, {0.9f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"MovePovText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "LEFT / RIGHT POV:", 73.62f, 243, 238.38f, 18,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_RIGHT},
    {"LeftRightPOV", MWIN_BUT_PUSH, "Main", "Unset", 313, 243, 208.29f, 18,
     {1, 0.9f, 0.3f, 1}, {0.9f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"MoveLeftText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "LEFT:", 73.62f, 263, 238.38f, 18,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_RIGHT},
    {"MoveLeft", MWIN_BUT_PUSH, "Main", "Unset", 313, 263, 208.29f, 18,
     {1, 0.9f, 0.3f, 1}, {0.9f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"MoveRightText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "RIGHT:", 73.62f, 283, 238.38f, 18,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_RIGHT},
    {"MoveRight", MWIN_BUT_PUSH, "Main", "Unset", 313, 283, 208.29f, 18,
     {1, 0.9f, 0.3f, 1}, {0.9f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"LobKeyText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "ACCELERATE AXIS:", 73.62f, 303, 238.38f, 18,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_RIGHT},
    {"AccelAxis", MWIN_BUT_PUSH, "Main", "Unset", 313, 303, 208.29f, 18,
     {1, 0.9f, 0.3f, 1}, {0.9f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"FastKeyText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "ACCELERATE:", 73.62f, 323, 238.38f, 18,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_RIGHT},
    {"Accel", MWIN_BUT_PUSH, "Main", "Unset", 313, 323, 208.29f, 18,
     {1, 0.9f, 0.3f, 1}, {0.9f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"PauseGameText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "PAUSE GAME:", 73.62f, 343, 238.38f, 18,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_RIGHT},
    {"PauseGame", MWIN_BUT_PUSH, "Main", "Unset", 313, 343, 208.29f, 18,
     {1, 0.9f, 0.3f, 1}, {0.9f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"Reset", MWIN_BUT_PUSH, "Main", "RESET", 551, 223, 84, 18,
     {1, 1, 1, 1}, {0.7f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"RedefinePopup", MWIN_BUT_PUSH, "Back", "PRESS A CONTROL ON THE CONTROLLER", 87.99f, 390, 464.02f, 34,
     {0, 1, 1, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Back", MWIN_BUT_PUSH, "Main", "BACK", 5, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"MoveUpDownText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "UP / DOWN AXIS (MENUS):", 73.62f, 362.8f, 238.38f, 18,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_RIGHT},
    {"UpDownAxis", MWIN_BUT_PUSH, "Main", "Unset", 312.53f, 362.8f, 208.29f, 18,
     {1, 0.9f, 0.3f, 1}, {0.9f, 0.9f}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == ControlsCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

ControlsCollectionController::ControlsCollectionController(MWinScreens* screens)
    : TorviCollectionController("Controls", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
