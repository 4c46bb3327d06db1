#include "Game/Screens/CRaceCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"Quit", MWIN_BUT_PUSH, "Main", "MAIN MENU", 5, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Level", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "ROOKIE   FORMULA 1   RACING", 9, 71, 623, 30,
     {0.6f, 1, 0.6f, 1}, {1.5f, 1.5f}, MWIN_ALIGN_CENTRE},
    {"Title", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "CHAMPIONSHIP", 9, 108, 623, 30,
     {1, 1, 1, 1}, {1.6f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"TrackBox", MWIN_BUT_PUSH, "Back", nullptr, 30, 167, 258, 185,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"TrackPicBorder", MWIN_BUT_PUSH, "Back", nullptr, 37, 202, 243, 143,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"TrackPic", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, nullptr, 39, 204, 239, 140,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Track", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "STAGE 2", 47, 172, 224, 20,
     {1, 1, 0.3f, 1}, {0.9f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Start", MWIN_BUT_PUSH, "Start", "RACE  !!!", 227, 421, 186, 48,
     {1, 1, 1, 1}, {0.9f, 1.6f}, MWIN_ALIGN_CENTRE},
    {"TimesBox", MWIN_BUT_PUSH, "Back", nullptr, 354, 169, 257, 185,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"OppText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "LEADERBOARD", 361, 174, 243, 20,
     {1, 1, 0.3f, 1}, {0.9f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Options", MWIN_BUT_PUSH, "Main", "OPTIONS", 508, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Name1", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 1", 357, 202, 177, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name2", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 2", 357, 220, 177, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name3", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 3", 357, 238, 177, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name4", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 4", 357, 256, 177, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name5", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 5", 357, 274, 177, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name6", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 6", 357, 293, 177, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name7", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 7", 357, 311, 177, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Name8", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Name 8", 357, 329, 177, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_LEFT},
    {"Pos1", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "100", 525, 202, 73, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos2", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "100", 525, 220, 73, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos3", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "100", 525, 238, 73, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos4", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "100", 525, 256, 73, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos5", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "100", 525, 274, 73, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos6", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "100", 525, 293, 73, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos7", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "100", 525, 311, 73, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Pos8", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "100", 525, 329, 73, 14,
     {0.8f, 0.8f, 0.8f, 1}, {1, 1}, MWIN_ALIGN_RIGHT},
    {"Over", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "CHAMPIONSHIP  COMPLETED", 9, 376, 623, 13,
     {0.9f, 1, 0.4f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"NumLaps", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "LAPS: 10", 221, 370, 198, 20,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == CRaceCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

CRaceCollectionController::CRaceCollectionController(MWinScreens* screens)
    : TorviCollectionController("CRace", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
