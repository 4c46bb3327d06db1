#include "Game/Screens/UsersLoadCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"Load", MWIN_BUT_PUSH, "Main", "LOAD", 269, 274, 103, 39,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"User", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "UNSET", 189, 245, 262, 18,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"Back", MWIN_BUT_PUSH, "Main", "BACK", 5, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"UsersText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "SELECT A DRIVER", 186, 212, 262, 26,
     {1, 1, 1, 1}, {1.6f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Delete", MWIN_BUT_PUSH, "Main", "DELETE", 489, 245, 87.81f, 23.33f,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == UsersLoadCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

UsersLoadCollectionController::UsersLoadCollectionController(MWinScreens* screens)
    : TorviCollectionController("UsersLoad", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
