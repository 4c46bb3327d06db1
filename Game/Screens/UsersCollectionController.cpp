#include "Game/Screens/UsersCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"New", MWIN_BUT_PUSH, "Main", "NEW DRIVER", 446, 430, 189, 34,
     {1, 1, 1, 1}, {0.7f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"Other", MWIN_BUT_PUSH, "Main", "OTHER DRIVERS", 226, 430, 189, 34,
     {1, 1, 1, 1}, {0.7f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"Continue", MWIN_BUT_PUSH, "Main", "CONTINUE DRIVER", 197, 201, 246, 78,
     {1, 1, 1, 1}, {0.7f, 0.9f}, MWIN_ALIGN_CENTRE, "UNSET"},
    {"Exit", MWIN_BUT_PUSH, "Main", "EXIT GAME", 5, 430, 189, 34,
     {1, 1, 1, 1}, {0.7f, 0.9f}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == UsersCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

UsersCollectionController::UsersCollectionController(MWinScreens* screens)
    : TorviCollectionController("Users", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
