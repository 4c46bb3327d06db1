#include "Game/Screens/OptionsCC.h"

OptionsCC::OptionsCC(MWinScreens* screens) : OptionsCollectionController(screens)
{
}
