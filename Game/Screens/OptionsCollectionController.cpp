#include "Game/Screens/OptionsCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"Title", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "OPTIONS", 65, 78, 511, 25,
     {0.6f, 1, 0.6f, 1}, {1.5f, 1.5f}, MWIN_ALIGN_CENTRE},
    {"CarText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "CAR", 154, 113, 333, 25,
     {1, 1, 1, 1}, {1.8f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"SteeringText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "STEERING", 144, 144, 208, 14,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"Steering", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "UNSET", 357, 144, 139, 14,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"AccelText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "ACCELERATION", 144, 160, 208, 14,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"Accel", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "UNSET", 357, 160, 139, 14,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"BrakeText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "BRAKES", 144, 176, 208, 14,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"Brake", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "UNSET", 357, 176, 139, 14,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"Back", MWIN_BUT_PUSH, "Main", "BACK", 5, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Controls", MWIN_BUT_PUSH, "Main", "SETUP CONTROLS", 75.58f, 345, 199.42f, 28,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"ControlsText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "CONTROLS", 48, 313, 255, 25,
     {1, 1, 1, 1}, {1.8f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"GraphicsText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GRAPHICS", 150, 204, 333, 25,
     {1, 1, 1, 1}, {1.8f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"LeadersText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "LEADER TEXTS", 140, 235, 208, 14,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"Leaders", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "UNSET", 353, 235, 139, 14,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"LapTimeText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "LAP TIME TEXT", 140, 251, 208, 14,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"LapTime", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "UNSET", 353, 251, 139, 14,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"NumLapsText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "NUM LAPS TEXT", 140, 267, 208, 14,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"NumLaps", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "UNSET", 353, 267, 139, 14,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"PositionText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "POSITION TEXT", 140, 283, 208, 14,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"Pos", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "UNSET", 353, 283, 139, 14,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"MusicTitleText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "MUSIC", 408, 313, 158, 25,
     {1, 1, 1, 1}, {1.8f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"MusicText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "MUSIC", 368, 346, 118, 14,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"Music", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "Off", 491, 346, 105, 14,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"VolText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "VOLUME", 368, 363, 118, 14,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"Vol", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "10", 491, 363, 105, 14,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"StartupWindowText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "STARTUP WINDOW", 144.25f, 391, 239, 14,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"StartupWindow", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "Off", 391.25f, 391, 104.5f, 14,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == OptionsCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

OptionsCollectionController::OptionsCollectionController(MWinScreens* screens)
    : TorviCollectionController("Options", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
