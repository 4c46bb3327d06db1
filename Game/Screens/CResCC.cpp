#include "Game/Screens/CResCC.h"

CResCC::CResCC(MWinScreens* screens) : CResCollectionController(screens)
{
}
