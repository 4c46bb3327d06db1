#include "Game/Screens/CRaceCC.h"

CRaceCC::CRaceCC(MWinScreens* screens) : CRaceCollectionController(screens)
{
}
