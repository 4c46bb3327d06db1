#include "Game/Screens/ControlsCC.h"

ControlsCC::ControlsCC(MWinScreens* screens) : ControlsCollectionController(screens)
{
}
