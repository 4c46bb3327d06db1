#include "Game/Screens/CNewCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"Quit", MWIN_BUT_PUSH, "Main", "MAIN MENU", 5, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Level", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "ROOKIE   FORMULA 1   RACING", 9, 71, 623, 30,
     {0.6f, 1, 0.6f, 1}, {1.5f, 1.5f}, MWIN_ALIGN_CENTRE},
    {"Title", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "CHAMPIONSHIP", 9, 108, 623, 30,
     {1, 1, 1, 1}, {1.6f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"NewBox", MWIN_BUT_PUSH, "Back", nullptr, 92, 223, 457, 50,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Options", MWIN_BUT_PUSH, "Main", "OPTIONS", 508, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"LengthText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "RACES LENGTH:", 108, 239, 221, 18,
     {0.8f, 0.9f, 1, 1}, {1, 0.9f}, MWIN_ALIGN_RIGHT},
    {"RaceLength", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "Delete", 334, 239, 175, 18,
     {1, 0.9f, 0.3f, 1}, {1, 0.9f}, MWIN_ALIGN_CENTRE},
    {"Cont", MWIN_BUT_PUSH, "Main", "CONTINUE", 230, 303, 181, 36,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == CNewCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

CNewCollectionController::CNewCollectionController(MWinScreens* screens)
    : TorviCollectionController("CNew", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
