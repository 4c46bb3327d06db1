#include "Game/Screens/QRaceCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"Quit", MWIN_BUT_PUSH, "Main", "MAIN MENU", 5, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Level", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "ROOKIE   FORMULA 1   RACING", 9, 71, 623, 30,
     {0.6f, 1, 0.6f, 1}, {1.5f, 1.5f}, MWIN_ALIGN_CENTRE},
    {"Title", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "QUICK RACE", 9, 108, 623, 30,
     {1, 1, 1, 1}, {1.6f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"TrackBox", MWIN_BUT_PUSH, "Back", nullptr, 30, 167, 232, 171,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"TrackPicBorder", MWIN_BUT_PUSH, "Back", nullptr, 37, 200, 217, 127,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"TrackPic", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, nullptr, 39, 202, 213, 123,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Track", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "TRACK", 47, 172, 198, 20,
     {1, 1, 0.3f, 1}, {0.9f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Start", MWIN_BUT_PUSH, "Start", "RACE  !!!", 227, 421, 186, 48,
     {1, 1, 1, 1}, {0.9f, 1.6f}, MWIN_ALIGN_CENTRE},
    {"TimesBox", MWIN_BUT_PUSH, "Back", nullptr, 379, 169, 232, 171,
     {1, 1, 1, 0.8f}, {1.2f, 1.4f}, MWIN_ALIGN_CENTRE},
    {"OppText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "OPPONENTS", 379, 174, 232, 20,
     {1, 1, 0.3f, 1}, {0.9f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Options", MWIN_BUT_PUSH, "Main", "OPTIONS", 508, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Name1", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, "Name 1", 386, 202, 218, 14,
     {1, 1, 0.3f, 1}, {1, 1.2f}, MWIN_ALIGN_LEFT},
    {"Name2", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, "Name 2", 386, 220, 218, 14,
     {1, 1, 0.3f, 1}, {1, 1.2f}, MWIN_ALIGN_LEFT},
    {"Name3", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, "Name 3", 386, 238, 218, 14,
     {1, 1, 0.3f, 1}, {1, 1.2f}, MWIN_ALIGN_LEFT},
    {"Name4", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, "Name 4", 386, 256, 218, 14,
     {1, 1, 0.3f, 1}, {1, 1.2f}, MWIN_ALIGN_LEFT},
    {"Name5", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, "Name 5", 386, 274, 218, 14,
     {1, 1, 0.3f, 1}, {1, 1.2f}, MWIN_ALIGN_LEFT},
    {"Name6", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, "Name 6", 386, 293, 218, 14,
     {1, 1, 0.3f, 1}, {1, 1.2f}, MWIN_ALIGN_LEFT},
    {"Name7", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, "Name 7", 386, 311, 218, 14,
     {1, 1, 0.3f, 1}, {1, 1.2f}, MWIN_ALIGN_LEFT},
    {"NumLaps", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "LAPS: 10", 221, 362, 198, 20,
     {1, 0.9f, 0.3f, 1}, {1.2f, 0.9f}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == QRaceCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

QRaceCollectionController::QRaceCollectionController(MWinScreens* screens)
    : TorviCollectionController("QRace", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
