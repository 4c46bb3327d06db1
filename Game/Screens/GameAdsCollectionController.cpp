#include "Game/Screens/GameAdsCollectionController.h"

namespace {

const TorviButtonRow kRows[] = {
    {"AlsoText", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "also by Ostrelmark...", 0, 3, 128, 17,
     {1, 1, 1, 0.4f}, {0.6f, 0.7f}, MWIN_ALIGN_CENTRE},
    {"Title", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "GAME TITLE", 150, 24, 341, 27,
     {1, 1, 1, 0.8f}, {1.5f, 1.5f}, MWIN_ALIGN_CENTRE},
    {"Desc1", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Line 1 of the game description text.", 25, 67, 590, 16,
     {0.7f, 0.7f, 0.7f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Pic1Bg", MWIN_BUT_PUSH, "Back", nullptr, 51, 149, 261, 256,
     {0, 0, 0, 0.7f}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Pic1", MWIN_BUT_PUSH, "Back", nullptr, 57, 155, 249, 244,
     {0, 0, 0, 0.7f}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Desc2", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Line 2 of the game description text.", 25, 86, 590, 16,
     {0.7f, 0.7f, 0.7f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Desc3", MWIN_BUT_PUSH, MWIN_TEXBUT_NONE, "Line 3 of the game description text.", 25, 105, 590, 16,
     {0.7f, 0.7f, 0.7f, 1}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Pic2Bg", MWIN_BUT_PUSH, "Back", nullptr, 328, 149, 261, 256,
     {0, 0, 0, 0.7f}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Pic2", MWIN_BUT_PUSH, "Back", nullptr, 334, 155, 249, 244,
     {0, 0, 0, 0.7f}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"Download", MWIN_BUT_PUSH, "Main", "Download", 18.25f, 427, 146.52f, 36,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Prev", MWIN_BUT_PUSH, "Main", "Prev", 170.58f, 427, 146.52f, 36,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Next", MWIN_BUT_PUSH, "Main", "Next", 322.9f, 427, 146.52f, 36,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"Back", MWIN_BUT_PUSH, "Main", "Back", 475.22f, 427, 146.52f, 36,
     {1, 1, 1, 0.7f}, {1, 1.2f}, MWIN_ALIGN_CENTRE},
    {"PicCenBg", MWIN_BUT_PUSH, "Back", nullptr, 126.68f, 122.0f, 386.64f, 291.0f,
     {0, 0, 0, 0.7f}, {1, 1}, MWIN_ALIGN_CENTRE},
    {"PicCen", MWIN_BUT_PUSH, "Back", nullptr, 132.68f, 128.0f, 374.64f, 279.0f,
     {0, 0, 0, 0.7f}, {1, 1}, MWIN_ALIGN_CENTRE},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == GameAdsCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

GameAdsCollectionController::GameAdsCollectionController(MWinScreens* screens)
    : TorviCollectionController("GameAds", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
