#include "Game/Screens/PauseCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"Quit", MWIN_BUT_PUSH, "Main", "QUIT", 5, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Title", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GAME PAUSED", 9, 76, 623, 30,
     {1, 1, 1, 1}, {1.8f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Options", MWIN_BUT_PUSH, "Main", "OPTIONS", 508, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Resume", MWIN_BUT_PUSH, "Start", "RESUME", 227, 421, 186, 48,
     {1, 1, 1, 1}, {0.9f, 1.6f}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == PauseCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

PauseCollectionController::PauseCollectionController(MWinScreens* screens)
    : TorviCollectionController("Pause", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
