#include "Game/Screens/TTrialCC.h"

TTrialCC::TTrialCC(MWinScreens* screens) : TTrialCollectionController(screens)
{
}
