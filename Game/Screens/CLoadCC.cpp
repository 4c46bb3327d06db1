#include "Game/Screens/CLoadCC.h"

CLoadCC::CLoadCC(MWinScreens* screens) : CLoadCollectionController(screens)
{
}
