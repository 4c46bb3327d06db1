#include "Game/Screens/CNewCC.h"

#include "Game/ChampClass.h"
#include "Game/Game.h"
#include "Game/Screens/RaceNames.h"
#include "Game/Screens/TorviScreens.h"

namespace {

const char* const kLengthNames[CHAMP_LENGTHS] = {"VERY SHORT", "SHORT", "MEDIUM", "LONG", "VERY LONG"};

} // namespace

CNewCC::CNewCC(MWinScreens* screens) : CNewCollectionController(screens)
{
}

void CNewCC::StartingCB(void* data)
{
    (void)data;
    ChampRecord* record = m_game->GetChamp()->GetRecord();
    if (MWinButton* level = GetButton(BUT_LEVEL))
        level->SetTextF("%s  RACING", RaceNamesGetLevel(record->level));
    if (MWinButton* title = GetButton(BUT_TITLE))
        title->SetTextF("%s  CHAMPIONSHIP", RaceNamesGetClass(record->formula));
    BindArrowChoice(BUT_RACE_LENGTH, CHAMP_LENGTHS, kLengthNames, &record->length, MWIN_FIRE_NEVER);
    SetEscapeButton(BUT_QUIT);
}

char CNewCC::ButtonCB(MWinButton* button, _MWinButtonCallbackInfo* info)
{
    (void)info;
    switch (GetButtonIndex(button)) {
    case BUT_CONT:
        m_game->GetChamp()->SetupRace();
        GotoScreen(SCREEN_CRCE);
        return 1;
    case BUT_OPTIONS:
        GotoScreen(SCREEN_OPTS);
        return 1;
    case BUT_QUIT:
        GotoScreen(SCREEN_MAIN);
        return 1;
    default:
        return 0;
    }
}
