#include "Game/Screens/MainCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"ViewLicense", MWIN_BUT_PUSH, "Main", "LICENSE", 454.9f, 127, 180.1f, 34,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"TimeTrial", MWIN_BUT_PUSH, "Main", "WORLD TIMES", 415.2f, 79, 219.8f, 34,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"QuickRace", MWIN_BUT_PUSH, "Main", "QUICK RACE", 5, 127, 179.63f, 34,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Champ", MWIN_BUT_PUSH, "Main", "CHAMPIONSHIP", 5, 79, 219.33f, 34,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"LUpdate", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "YOUR LICENSE HAS BEEN UPDATED", 143, 433, 355, 27,
     {1, 1, 1, 0.7f}, {0.75f, 1}, MWIN_ALIGN_CENTRE},
    {"Test", MWIN_BUT_PUSH, "Main", "DRIVING TEST", 208.23f, 365.27f, 223.54f, 34,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Exit", MWIN_BUT_PUSH, "Main", "EXIT", 5, 433, 114.52f, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Driver", MWIN_BUT_PUSH, "Main", "DRIVER", 133.87f, 433.53f, 114.52f, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Games", MWIN_BUT_PUSH, "Main", "GAMES", 262.74f, 433, 114.52f, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"About", MWIN_BUT_PUSH, "Main", "CREDITS", 391.61f, 433, 114.52f, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Options", MWIN_BUT_PUSH, "Main", "OPTIONS", 520.48f, 433, 114.52f, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"HomePage", MWIN_BUT_PUSH, "Main", "HOME PAGE", 5, 375, 125, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Forums", MWIN_BUT_PUSH, "Main", "FORUMS", 510, 375, 124.52f, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"StatsBg", MWIN_BUT_LABEL, "Back", nullptr, 250, 75, 140, 45,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"CurLevel", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "FORMULA 1", 255, 80, 130, 15,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"CurClass", MWIN_BUT_LABEL, MWIN_TEXBUT_NONE, "EXPERT", 255, 100, 130, 15,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == MainCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

MainCollectionController::MainCollectionController(MWinScreens* screens)
    : TorviCollectionController("Main", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
