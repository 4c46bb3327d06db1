#include "Game/Screens/GameAdsCC.h"

GameAdsCC::GameAdsCC(MWinScreens* screens) : GameAdsCollectionController(screens)
{
}
