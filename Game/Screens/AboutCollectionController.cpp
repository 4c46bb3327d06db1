#include "Game/Screens/AboutCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"Creator", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, nullptr, 50, 120, 540, 25,
     {1, 1, 1, 0.8f}, {1.6f, 1.95f}, MWIN_ALIGN_CENTRE},
    {"CreatedText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "CREATED  BY", 50, 90, 540, 25,
     {1, 1, 0.3f, 1}, {0.8f, 1.2f}, MWIN_ALIGN_CENTRE, nullptr, {1, 1, 1, 0.743f}},
    {"Back", MWIN_BUT_PUSH, "Main", "BACK", 5, 433, 127, 27,
     {1, 1, 1, 0.7f}, {0.9f, 1}, MWIN_ALIGN_CENTRE},
    {"Font", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, nullptr, 50, 240, 540, 25,
     {1, 1, 1, 0.8f}, {1.6f, 1.95f}, MWIN_ALIGN_CENTRE},
    {"FontText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GAME FONT", 50, 210, 540, 25,
     {1, 1, 0.3f, 1}, {0.8f, 1.2f}, MWIN_ALIGN_CENTRE, nullptr, {1, 1, 1, 0.743f}},
    {"Creator2", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, nullptr, 50, 150, 540, 25,
     {1, 1, 1, 1}, {0.9f, 1.6f}, MWIN_ALIGN_CENTRE, nullptr, {1, 0.723f, 0.419f, 0.829f}},
    {"Font2", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, nullptr, 50, 270, 540, 25,
     {1, 1, 1, 1}, {0.9f, 1.6f}, MWIN_ALIGN_CENTRE, nullptr, {1, 0.723f, 0.419f, 0.829f}},
    {"Music", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, nullptr, 50, 350, 540, 25,
     {1, 1, 1, 0.8f}, {1.6f, 1.95f}, MWIN_ALIGN_CENTRE},
    {"MusicText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GAME MUSIC", 50, 320, 540, 25,
     {1, 1, 0.3f, 1}, {0.8f, 1.2f}, MWIN_ALIGN_CENTRE, nullptr, {1, 1, 1, 0.743f}},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == AboutCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

AboutCollectionController::AboutCollectionController(MWinScreens* screens)
    : TorviCollectionController("About", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
