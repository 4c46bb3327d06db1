#include "Game/Screens/QResCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"Quit", MWIN_BUT_PUSH, "Main", "DONE", 5, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Title", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "QUICK RACE RESULTS", 9, 76, 623, 30,
     {1, 1, 1, 1}, {1.6f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"ResBox", MWIN_BUT_PUSH, "Back", nullptr, 107, 131, 427, 227,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Options", MWIN_BUT_PUSH, "Main", "OPTIONS", 508, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Name1", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 1", 175, 151, 187, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name2", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 2", 175, 176, 187, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name3", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 3", 175, 201, 187, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name4", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 4", 175, 226, 187, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name5", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 5", 175, 251, 187, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name6", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 6", 175, 276, 187, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name7", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 7", 175, 301, 187, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name8", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 8", 175, 326, 187, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Pos1", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "1.", 120, 151, 28, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos2", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "2.", 120, 176, 28, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos3", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "3.", 120, 201, 28, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos4", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "4.", 120, 226, 28, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos5", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "5.", 120, 251, 28, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos6", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "6.", 120, 276, 28, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos7", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "7.", 120, 301, 28, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos8", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "8.", 120, 326, 28, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Time1", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "00:00:00", 368, 151, 162, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Time2", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "00:00:00", 368, 176, 162, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Time3", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "00:11:00", 368, 201, 162, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Time4", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "00:00:00", 368, 226, 162, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Time5", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "00:00:43", 368, 251, 162, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Time6", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "01:00:00", 368, 276, 162, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Time7", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "00:00:00", 368, 301, 162, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Time8", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "00:00:00", 368, 326, 162, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"FastestText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "FASTEST LAP 00:00:00 BY NAME", 11, 386, 618, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == QResCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

QResCollectionController::QResCollectionController(MWinScreens* screens)
    : TorviCollectionController("QRes", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
