#include "Game/Screens/CountryCollectionController.h"

namespace {

// The list stands in a panel like the other screens' boxes; its entries leave a strip on the left for flags.
const TorviButtonRow kRows[] = {
    {.id = "Title", .kind = MWIN_BUT_LABEL, .texbut = MWIN_TEXBUT_NONE, .text = "SELECT YOUR COUNTRY", .x = 9, .y = 72,
     .w = 623, .h = 30, .colour = {1, 1, 1, 1}, .scale = {1.6f, 1.2f}, .align = MWIN_ALIGN_CENTRE,
     .token = "Country_Title"},
    {.id = "Country", .kind = MWIN_BUT_PANEL, .texbut = MWIN_TEXBUT_DEFAULT, .text = nullptr, .x = 150, .y = 112,
     .w = 340, .h = 270, .colour = {1, 0.9f, 0.3f, 1}, .scale = {0.9f, 1}, .align = MWIN_ALIGN_LEFT},
    {.id = "Note", .kind = MWIN_BUT_LABEL, .texbut = MWIN_TEXBUT_NONE, .text = "Your country is displayed in network games.",
     .x = 9, .y = 392, .w = 623, .h = 18, .colour = {0.8f, 0.9f, 1, 1}, .scale = {0.8f, 1}, .align = MWIN_ALIGN_CENTRE,
     .token = "Country_Note"},
    {.id = "Continue", .kind = MWIN_BUT_PUSH, .texbut = "Main", .text = "Continue", .x = 508, .y = 433, .w = 127,
     .h = 27, .colour = {1, 1, 1, 0.7f}, .scale = {0.9f, 1}, .align = MWIN_ALIGN_CENTRE,
     .token = "Common_ButtonContinue"},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == CountryCollectionController::NUM_BUTTONS, "one row per button");

} // namespace

CountryCollectionController::CountryCollectionController(MWinScreens* screens)
    : TorviCollectionController("Country", kRows, NUM_BUTTONS)
{
    if (screens)
        SetScreensVar(screens);
}
