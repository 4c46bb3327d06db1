#include "Game/Screens/MainCC.h"

MainCC::MainCC(MWinScreens* screens) : MainCollectionController(screens)
{
}
