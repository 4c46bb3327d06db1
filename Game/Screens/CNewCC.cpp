#include "Game/Screens/CNewCC.h"

CNewCC::CNewCC(MWinScreens* screens) : CNewCollectionController(screens)
{
}
