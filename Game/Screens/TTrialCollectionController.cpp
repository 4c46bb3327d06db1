#include "Game/Screens/TTrialCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"OpionsBox", MWIN_BUT_PUSH, "Back", nullptr, 15, 323.87f, 180.16f, 86.13f,
     {1, 0.9f, 0.9f, 1}, {1, 1}, MWIN_ALIGN_CENTRE, " "},
    {"ShowGhost", MWIN_BUT_CHECKBOX, MWIN_TEXBUT_NONE, "Show Ghost Car", 40, 359, 130, 20.13f,
     {0.8f, 0.9f, 1, 1}, {0.7f, 0.9f}, MWIN_ALIGN_LEFT},
    {"Quit", MWIN_BUT_PUSH, "Main", "MAIN MENU", 5, 433, 130, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Level", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "ROOKIE   FORMULA 1   RACING", 9, 76, 623, 30,
     {0.6f, 1, 0.6f, 1}, {1.5f, 1.5f}, MWIN_ALIGN_CENTRE},
    {"TrackBox", MWIN_BUT_PUSH, "Back", nullptr, 15, 120, 180.16f, 149.33f,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"TrackPicBorder", MWIN_BUT_PUSH, "Back", nullptr, 24, 155, 161.17f, 104.2f,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"TrackPic", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, nullptr, 26, 157, 156.7f, 100.2f,
     {1, 1, 0.3f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Track", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "TRACK", 32, 125, 145.7f, 20,
     {1, 1, 0.3f, 1}, {0.8f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Start", MWIN_BUT_PUSH, "Start", "START !!!", 227, 421, 186, 48,
     {1, 1, 1, 1}, {0.9f, 1.6f}, MWIN_ALIGN_CENTRE},
    {"TimesBox", MWIN_BUT_PUSH, "Back", nullptr, 205, 120, 425.04f, 291.6f,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"TimesWhich", MWIN_BUT_CHOICE, "Panel", "FASTEST LAPS", 210, 125, 160, 25,
     {1, 1, 1, 0.9f}, {0.5f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"TimesRange", MWIN_BUT_CHOICE, "Panel", "TRACK", 395, 125, 228.58f, 25,
     {1, 1, 1, 0.9f}, {0.5f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"Times", MWIN_BUT_TABPANEL, MWIN_TEXBUT_NONE, nullptr, 215, 155, 405, 220,
     {0.6f, 0.6f, 0.8f, 1}, {0.8f, 1}, MWIN_ALIGN_CENTRE},
    {"Options", MWIN_BUT_PUSH, "Main", "OPTIONS", 505, 433, 130, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"OpionsText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "SETTINGS", 15, 331.87f, 180.16f, 15.27f,
     {1, 1, 0.3f, 1}, {0.8f, 1.2f}, MWIN_ALIGN_CENTRE},
    {"TimesUpdate", MWIN_BUT_PUSH, "Main", "UPDATE", 530, 380, 95, 25,
     {1, 1, 1, 0.7f}, {0.75f, 1}, MWIN_ALIGN_CENTRE},
    {"TimesSubmit", MWIN_BUT_PUSH, "Main", "SUBMIT", 210, 380, 95, 25,
     {1, 1, 1, 0.7f}, {0.75f, 1}, MWIN_ALIGN_CENTRE},
    {"TimesInfo", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "No Info.", 204.96f, 100, 420.4f, 15,
     {1, 1, 1, 0.7f}, {0.75f, 1}, MWIN_ALIGN_CENTRE},
    {"NumLaps", MWIN_BUT_CHOICE, MWIN_TEXBUT_NONE, "LAPS: 10", 325, 380, 185, 25,
     {1, 0.9f, 0.3f, 1}, {1.2f, 0.9f}, MWIN_ALIGN_CENTRE},
    {"GhostReset", MWIN_BUT_PUSH, "Main", "Reset", 140, 385, 52.77f, 19,
     {1, 1, 1, 0.9f}, {0.5f, 0.9f}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == TTrialCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

TTrialCollectionController::TTrialCollectionController(MWinScreens* screens)
    : TorviCollectionController("TTrial", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
