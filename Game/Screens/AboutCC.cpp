#include "Game/Screens/AboutCC.h"

namespace {

// The credit lines come from the language texts.
const struct {
    int button;
    const char* token;
} kCredits[] = {
    {AboutCollectionController::BUT_CREATOR, "About_Creator"},
    {AboutCollectionController::BUT_CREATOR2, "About_Creator2"},
    {AboutCollectionController::BUT_FONT, "About_Font"},
    {AboutCollectionController::BUT_FONT2, "About_Font2"},
    {AboutCollectionController::BUT_MUSIC, "About_Music"},
};

} // namespace

AboutCC::AboutCC(MWinScreens* screens) : AboutCollectionController(screens)
{
}

void AboutCC::StartingCB(void*)
{
    for (const auto& credit : kCredits)
        if (MWinButton* button = GetButton(credit.button))
            button->SetTextToken(credit.token);
    SetEscapeButton(BUT_BACK);
}

char AboutCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo*)
{
    if (GetButtonIndex(button) != BUT_BACK)
        return 0;
    GoBack();
    return 1;
}
