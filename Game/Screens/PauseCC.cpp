#include "Game/Screens/PauseCC.h"

PauseCC::PauseCC(MWinScreens* screens) : PauseCollectionController(screens)
{
}
